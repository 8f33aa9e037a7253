// The user's data folder: where it is, and how the first start gives it a database without ever
// replacing one that is there.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "db/data_folder.h"
#include "db_test_util.h"

namespace velaron::db {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentGuard {
 public:
  void set(const char* name, const char* value) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    if (value) qputenv(name, value);
    else qunsetenv(name);
  }
  ~EnvironmentGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) qputenv(it->first.constData(), *it->second);
      else qunsetenv(it->first.constData());
    }
  }

 private:
  std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

TEST(DataFolder, FollowsTheEnvironment) {
  struct Case {
    const char *own, *xdg, *expected;
  } cases[] = {
      {"/srv/velaron-2", "/x/share", "/srv/velaron-2"},
      {"/srv/a/../b/", nullptr, "/srv/b"},
      {nullptr, "/x/share", "/x/share/velaron"},
      {"", "/x/share/", "/x/share/velaron"},
      {nullptr, "relative/share", "/home/u/.local/share/velaron"},  // a relative XDG_DATA_HOME is ignored
      {nullptr, nullptr, "/home/u/.local/share/velaron"},
      {nullptr, "", "/home/u/.local/share/velaron"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EnvironmentGuard env;
    env.set("VELARON_DATA_DIR", c.own);
    env.set("XDG_DATA_HOME", c.xdg);
    env.set("HOME", "/home/u");
    EXPECT_EQ(DataFolder(), QString::fromLatin1(c.expected));
  }
}

// Without HOME (a start from a service or `env -i`), or with a HOME that is no absolute path, the folder was
// sought under the file system's root, "/.local/share/velaron": the home folder comes from the user's entry
// in the system's user database then. Whatever names the folder itself still does.
TEST(DataFolder, WithoutHomeTakesTheHomeOfTheUsersEntry) {
  const passwd* entry = getpwuid(getuid());
  ASSERT_TRUE(entry && QDir::isAbsolutePath(entry->pw_dir) && QDir::cleanPath(entry->pw_dir) != "/")
      << "this test needs a user entry whose home is not the root: the old fault would not show";
  const QString fromEntry = QDir::cleanPath(QFile::decodeName(entry->pw_dir)) + "/.local/share/velaron";
  const struct {
    const char *own, *xdg, *home, *expected;  // expected: nullptr for the folder under the user entry's home
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr},
      {nullptr, nullptr, "", nullptr},
      {nullptr, "", "relative/home", nullptr},
      {"/srv/velaron-2", nullptr, nullptr, "/srv/velaron-2"},
      {nullptr, "/x/share", nullptr, "/x/share/velaron"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.home ? c.home : "HOME unset");
    EnvironmentGuard env;
    env.set("VELARON_DATA_DIR", c.own);
    env.set("XDG_DATA_HOME", c.xdg);
    env.set("HOME", c.home);
    EXPECT_EQ(DataFolder(), c.expected ? QString(c.expected) : fromEntry);
  }
}

// What the data folder holds and what lies beside the program, against what the first start does.
TEST(SeedDataFolder, CopiesOnlyIntoAFolderWithoutADatabase) {
  struct Case {
    const char* name;
    QStringList inData;      // entries already in the data folder ("name/" is a folder)
    QStringList inProgram;   // files beside the program
    const char* copiedFrom;  // the file copied, or nullptr when nothing is
    bool error;
  } cases[] = {
      {"first start", {}, {"data.pristine.db"}, "data.pristine.db", false},
      {"earlier data.db beside the program", {}, {"data.pristine.db", "Data.db", "data.db"}, "data.db", false},
      {"earlier Data.db beside the program", {}, {"data.pristine.db", "Data.db"}, "Data.db", false},
      {"data.db there", {"data.db"}, {"data.pristine.db"}, nullptr, false},
      {"Data.db there", {"Data.db"}, {"data.pristine.db"}, nullptr, false},
      {"a folder named data.db there", {"data.db/"}, {"data.pristine.db"}, nullptr, false},
      {"no template", {}, {}, nullptr, true},
      {"an empty template", {}, {"data.pristine.db:"}, nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir root;
    const QString data = root.filePath(QString::fromUtf8("данные/velaron")), program = root.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(program));
    for (const QString& entry : c.inData) {
      ASSERT_TRUE(QDir().mkpath(data));
      if (entry.endsWith('/')) ASSERT_TRUE(QDir(data).mkdir(entry.chopped(1)));
      else WriteFile(QDir(data).filePath(entry), "user's " + entry.toUtf8());
    }
    for (const QString& entry : c.inProgram) {
      const QString name = entry.section(':', 0, 0);
      WriteFile(QDir(program).filePath(name), entry.contains(':') ? QByteArray() : "shipped " + name.toUtf8());
    }
    const QStringList before = QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    const SeedResult r = SeedDataFolder(data, program);
    EXPECT_EQ(r.copied, c.copiedFrom != nullptr);
    EXPECT_EQ(!r.error.isEmpty(), c.error) << r.error.toStdString();
    const QStringList after = QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (c.copiedFrom) {
      const QString from = QDir(program).filePath(QString::fromLatin1(c.copiedFrom));
      EXPECT_EQ(r.source, from);
      EXPECT_EQ(r.fromEarlier, QString::fromLatin1(c.copiedFrom) != "data.pristine.db");
      EXPECT_EQ(r.path, QDir(data).filePath("data.db"));
      EXPECT_EQ(ReadFile(r.path), ReadFile(from));
      EXPECT_EQ(after, QStringList{"data.db"});  // no part of the copy is left
      EXPECT_TRUE(QFileInfo(r.path).isWritable());
      // Said once: the next start finds the file and copies nothing.
      EXPECT_FALSE(SeedDataFolder(data, program).copied);
    } else {
      EXPECT_EQ(after, before);
      for (const QString& entry : c.inData) {
        if (entry.endsWith('/')) continue;
        EXPECT_EQ(ReadFile(QDir(data).filePath(entry)), "user's " + entry.toUtf8());
      }
    }
    if (c.error) {
      EXPECT_TRUE(r.error.contains(TemplatePath(program))) << r.error.toStdString();
      EXPECT_FALSE(QFileInfo::exists(data));  // no empty folder is made either
    }
  }
}

}  // namespace
}  // namespace velaron::db
