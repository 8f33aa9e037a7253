#include <QApplication>
#include <QDir>
#include <QWidget>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/startup.h"
#include "db/database.h"
#include "message_catcher.h"
#include "test_database.h"

using velaron::ui::AppContext;
using velaron::ui::StartUp;

namespace {

class StartUpTest : public ::testing::Test {
 protected:
  void TearDown() override { velaron::db::CloseDatabase(); }
  QTemporaryDir dir;
  QString path(const char* name) const { return QDir(dir.path()).filePath(QString::fromLatin1(name)); }
  QStringList files() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
  velaron::test::MessageCatcher catcher;
  AppContext context;
};

TEST_F(StartUpTest, MissingFilesOrFilesThatAreNotDatabasesAreNamedRefusedAndLeftAlone) {
  for (bool junk : {false, true}) {
    catcher.requests.clear();
    if (junk) {
      for (const char* name : {"data.db", "Data.db"}) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database");
      }
    }
    const auto result = StartUp(dir.path(), context);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.exitStatus, velaron::ui::kStartupFailedStatus);
    EXPECT_NE(result.exitStatus, 0);
    ASSERT_EQ(catcher.requests.size(), 1u);
    const auto& message = catcher.requests[0];
    EXPECT_EQ(message.icon, QMessageBox::Critical);
    EXPECT_EQ(message.title, QString::fromUtf8("Веларон"));
    EXPECT_TRUE(message.text.contains(path("data.db"))) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(path("Data.db"))) << message.text.toStdString();
    EXPECT_EQ(result.message, message.text);
    EXPECT_FALSE(context.FirstActivate);
    EXPECT_TRUE(context.dbPath.isEmpty());
    // Neither the probe nor the open may leave a file (an empty database, a journal) behind, nor touch a file
    // that is there.
    EXPECT_EQ(files().size(), junk ? 2 : 0);
  }
  QFile f(path("data.db"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("not a database"));
  // No window has been shown: the message is the only thing the user sees.
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
}

TEST_F(StartUpTest, PrimaryFileOpensWithDsnLocalOneAndFirstActivationPending) {
  ASSERT_TRUE(velaron::test::MakeDatabase(path("data.db")));
  ASSERT_TRUE(velaron::test::MakeDatabase(path("Data.db")));
  const auto result = StartUp(dir.path(), context);
  ASSERT_TRUE(result.ok) << result.message.toStdString();
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(catcher.requests.empty());
  EXPECT_EQ(context.DsnLocal, 1);
  EXPECT_EQ(context.dbPath, path("data.db"));
  EXPECT_EQ(context.folder, QDir::cleanPath(dir.path()));
  EXPECT_TRUE(context.FirstActivate);
  // The one connection is open on that file: the settings row of the reference data can be read.
  EXPECT_TRUE(velaron::db::Connection().isOpen());
  const auto row = velaron::db::LoadAdjustment();
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->XLimit, 1000);
  // Both report options start switched on.
  EXPECT_TRUE(context.options.OptExtraFiles);
  EXPECT_TRUE(context.options.Opt3D);
}

TEST_F(StartUpTest, OnlyTheFallbackFileGivesDsnLocalZero) {
  ASSERT_TRUE(velaron::test::MakeDatabase(path("Data.db")));
  context.DsnLocal = 1;  // whatever was there before, start-up records what it found
  const auto result = StartUp(dir.path(), context);
  ASSERT_TRUE(result.ok) << result.message.toStdString();
  EXPECT_TRUE(catcher.requests.empty());
  EXPECT_EQ(context.DsnLocal, 0);
  EXPECT_EQ(context.dbPath, path("Data.db"));
  EXPECT_FALSE(QFile::exists(path("data.db")));
}

}  // namespace
