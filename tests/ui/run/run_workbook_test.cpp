// Saving the result workbook after a run from the window: the option, the save dialog (cancel, a name
// without its extension, the folder it opens in, an earlier file replaced), a folder that cannot be
// written, and the run dialog offering it once after a completed run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QThread>
#include <algorithm>
#include <functional>
#include <optional>
#include <unistd.h>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "output/zip_reader.h"
#include "run/run_fixtures.h"
#include "run/run_texts.h"
#include "ui/run/form6.h"
#include "ui/run/run_controller.h"
#include "ui/run/run_workbook.h"
#include "ui/run/worker_thread.h"
#include "ui/widgets/save_dialog.h"
#include "wait_until.h"

namespace velaron::ui {
namespace {

// Answers the save dialog with the paths given, one a time, the last one as often as asked (empty:
// cancel), and keeps what it was asked.
struct SaveAnswer {
  explicit SaveAnswer(QStringList answers) : answers(std::move(answers)) {
    SetSaveFileSink([this](const SaveFileRequest& r) {
      asked.push_back(r);
      if (onAsk) onAsk();
      return this->answers.size() > 1 ? this->answers.takeFirst() : this->answers.value(0);
    });
  }
  explicit SaveAnswer(const QString& answer) : SaveAnswer(QStringList{answer}) {}
  ~SaveAnswer() { SetSaveFileSink(nullptr); }
  QStringList answers;
  std::vector<SaveFileRequest> asked;
  std::function<void()> onAsk;  // looks at the windows while the dialog would be open
};

// A finished run of the explosion on a small grid, every grid filled.
std::shared_ptr<result::RunSnapshot> Record(bool extraFiles = true) {
  auto r = std::make_shared<result::RunSnapshot>();
  r->request.run.scenario = result::Scenario::Explosion;
  r->request.settings.XLimit = r->request.settings.YLimit = 40;
  r->request.settings.CStep = 10;
  r->request.options.OptExtraFiles = extraFiles;
  for (models::Grid* g : {&r->GridValue, &r->GridImpuls, &r->GridProbit, &r->GridProc, &r->GridRisk}) {
    g->resize(2, 2);
    g->fill(1.5);
  }
  return r;
}

QStringList SheetNames(const QString& path) {
  QStringList names;
  for (const auto& sheet : test::ReadWorkbook(path).sheets) names << sheet.name;
  return names;
}

TEST(RunWorkbook, OptionOffOrCancelWritesNothingAndSaysNothing) {
  QTemporaryDir dir;
  test::MessageCatcher messages;
  {
    SaveAnswer answer(dir.filePath(U("книга.xlsx")));
    EXPECT_TRUE(OfferRunWorkbook(nullptr, *Record(false)).isEmpty());
    EXPECT_TRUE(answer.asked.empty());  // no dialog at all with the option off
  }
  {
    SaveAnswer cancel{QString()};
    EXPECT_TRUE(OfferRunWorkbook(nullptr, *Record()).isEmpty());
    ASSERT_EQ(cancel.asked.size(), 1u);
    EXPECT_EQ(cancel.asked[0].filter, U("Книга Excel (*.xlsx)|*.xlsx"));
  }
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(messages.requests.empty());
}

TEST(RunWorkbook, ANameGetsItsExtensionAndTheNextDialogOpensWhereTheLastSaveWent) {
  RememberSaveFolder(QString());
  QTemporaryDir dir;
  SaveAnswer answer(dir.filePath(U("итоги")));
  QFile old(dir.filePath(U("итоги.xlsx")));  // an earlier file of that name, not a workbook
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("an older file") > 0);
  old.close();
  const QString written = OfferRunWorkbook(nullptr, *Record());
  EXPECT_EQ(written, dir.filePath(U("итоги.xlsx")));
  EXPECT_TRUE(SheetNames(written).contains(U("Избыточное давление, кПа")));  // replaced: the explosion's workbook
  ASSERT_TRUE(OfferRunWorkbook(nullptr, *Record()) == written);              // the same name again: overwritten
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{U("итоги.xlsx")});
  ASSERT_EQ(answer.asked.size(), 2u);
  // Before any save: the documents folder (or the home folder), never the program's folder.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_TRUE(answer.asked[0].startFolder == documents || answer.asked[0].startFolder == QDir::homePath())
      << answer.asked[0].startFolder.toStdString();
  EXPECT_NE(answer.asked[0].startFolder, QCoreApplication::applicationDirPath());
  EXPECT_EQ(answer.asked[1].startFolder, dir.path());
  // The report's dialog opens there too: one folder for every save.
  EXPECT_EQ(SaveStartFolder(), dir.path());
  EXPECT_EQ(answer.asked[0].suffix, U("xlsx"));
  // A name that ends in the extension keeps it; any other gets it, as a report's name gets ".docx" (before,
  // "a.old" stayed "a.old" for a workbook); one ending in a dot gets the extension after it.
  EXPECT_EQ(WithDefaultSuffix(U("/p/a.XLSX"), U("xlsx")), U("/p/a.XLSX"));
  EXPECT_EQ(WithDefaultSuffix(U("/p/a.old"), U("xlsx")), U("/p/a.old.xlsx"));
  EXPECT_EQ(WithDefaultSuffix(U("/p/a."), U("xlsx")), U("/p/a.xlsx"));
  EXPECT_EQ(WithDefaultSuffix(U("/p.d/a"), U("xlsx")), U("/p.d/a.xlsx"));
}

QByteArray Hash(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

// The program as an ordinary user runs it: the super-user, whom permissions do not stop, takes the identity of
// "nobody" for the object's lifetime, every thread with it; anyone else stays who they are.
struct OrdinaryUser {
  ~OrdinaryUser() { EXPECT_TRUE(!root || (seteuid(0) == 0 && setegid(0) == 0)); }
  static constexpr uid_t kNobody = 65534;
  const bool root = geteuid() == 0;
  const bool ok = !root || (setegid(kNobody) == 0 && seteuid(kNobody) == 0);
};

// A save that cannot be written is told as every failed save of the window ("Ошибка в процессе сохранения
// файла", the file and why), the dialog comes again, and whatever lay there stays as it was, with no other
// file left beside it; the next dialog does not open in the folder that failed. Before, the workbook's
// message was the wind-rose file's "Ошибка в процессе записи файла!".
TEST(RunWorkbook, ASaveThatCannotBeWrittenIsToldAndTheEarlierFileStays) {
  QTemporaryDir dir;
  const auto readable =
      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
  QFile::setPermissions(dir.path(), readable | QFile::WriteOwner);
  const QString closed = dir.filePath(U("только чтение"));
  ASSERT_TRUE(QDir().mkpath(closed));
  // Offers a changed record at `path`, where the writer fails for `cause`, and cancels the dialog that comes
  // again; `earlier` lay there before and must stay.
  auto expectRefused = [&](const QString& path, const QString& earlier, const char* cause) {
    const QByteArray before = Hash(earlier);
    ASSERT_FALSE(before.isEmpty());
    const QStringList lying = QDir(closed).entryList(QDir::Files | QDir::Hidden);
    test::MessageCatcher messages;
    auto changed = Record();
    changed->GridRisk.fill(7);
    SaveAnswer answer({path, QString()});
    EXPECT_TRUE(OfferRunWorkbook(nullptr, *changed).isEmpty());
    EXPECT_EQ(answer.asked.size(), 2u);
    EXPECT_EQ(messages.texts(), QStringList(U("Ошибка в процессе сохранения файла\n") + path + U(": ") + U(cause)));
    for (const MessageRequest& m : messages.requests)
      EXPECT_EQ(std::pair(m.title, m.icon), std::pair(U("Веларон"), QMessageBox::Critical));
    EXPECT_EQ(Hash(earlier), before);
    EXPECT_EQ(QDir(closed).entryList(QDir::Files | QDir::Hidden), lying);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{U("отчёты")});
    EXPECT_NE(answer.asked[1].startFolder, QFileInfo(path).absolutePath());
  };
  // A regular file where the folder should be: no one can write under it, the super-user neither.
  const QString plainFile = dir.filePath(U("отчёты"));
  QFile occupying(plainFile);
  ASSERT_TRUE(occupying.open(QIODevice::WriteOnly) && occupying.write("записи пользователя") > 0 && occupying.flush());
  expectRefused(plainFile + U("/книга.xlsx"), plainFile, "нет такой папки");

  // A folder of the user's own that the user has closed for writing, holding a workbook saved there before.
  ASSERT_TRUE(geteuid() != 0 ||
              chown(QFile::encodeName(closed).constData(), OrdinaryUser::kNobody, OrdinaryUser::kNobody) == 0);
  OrdinaryUser user;
  if (!user.ok) GTEST_SKIP() << "the super-user cannot take an ordinary user's identity here";
  const QString book = closed + U("/книга.xlsx");
  SaveAnswer first(book);
  ASSERT_EQ(OfferRunWorkbook(nullptr, *Record()), book);
  ASSERT_TRUE(QFile::setPermissions(closed, readable));
  RememberSaveFolder(QString());
  expectRefused(book, book, "нет прав на запись");
  QFile::setPermissions(closed, readable | QFile::WriteOwner);
}

// --- The run dialog: the workbook it offers once a run has completed.

// Shows a run dialog over `parent` and presses "Расчет" for scenario `code` and section 1 over the good rows
// of the run tests.
Form6* Press(QWidget* parent, int code) {
  Form6::Services s = Form6::DatabaseServices();
  s.section = [](int) { return db::Read<std::optional<db::SectionRow>>{test::GoodData().section, {}}; };
  s.ground = [](const QString&) { return db::Read<std::optional<db::Ground3Row>>{test::GoodData().ground, {}}; };
  s.runData = [](const result::RunRequest&) { return test::GoodData(); };
  auto* form = new Form6(test::GoodRequest(code), parent);
  form->setServices(s);
  form->setOfferWorkbook(true);
  form->show();
  form->findChild<QComboBox*>(U("Combo1"))->setCurrentIndex(code - 1);
  form->findChild<QLineEdit*>(U("Text1"))->setText(U("1"));
  form->findChild<QPushButton*>(U("cmdRaschet"))->click();
  return form;
}

TEST(RunWorkbook, TheRunDialogOffersTheWorkbookAfterACompletedRun) {
  QTemporaryDir dir;
  const QString path = dir.filePath(U("взрыв.xlsx"));
  test::MessageCatcher messages(QMessageBox::No);
  SaveAnswer answer(path);
  QWidget parent;
  Form6* form = Press(&parent, 2);
  // While the dialog is open and the workbook written, no button of the run dialog offers anything (before,
  // "Расчет" and "Отмена" stood available and did nothing); while it is written a note names the scenario.
  QStringList notes;
  bool buttonsOn = false;
  answer.onAsk = [&] {
    buttonsOn = form->findChild<QPushButton*>("cmdRaschet")->isEnabled() ||
                form->findChild<QPushButton*>("Command2")->isEnabled();
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == U("frmWorkbookNote") && w->isVisible())
          for (QLabel* l : w->findChildren<QLabel*>()) notes << l->text();
    });
  };
  int finished = 0;
  QObject::connect(form, &Form6::runFinished, [&](auto) {
    EXPECT_EQ(answer.asked.size(), 1u);  // the workbook is offered before the results are handed on
    ++finished;
  });
  test::WaitUntil([form] { return !form->running(); });
  EXPECT_EQ(finished, 1);
  ASSERT_EQ(answer.asked.size(), 1u);
  EXPECT_TRUE(SheetNames(path).contains(U("Избыточное давление, кПа")));
  EXPECT_EQ(answer.asked[0].title, U("Сохранение книги результатов расчета: сценарий \"Взрыв\""));
  EXPECT_FALSE(buttonsOn);
  EXPECT_TRUE(notes.contains(U("Сценарий \"Взрыв\"")) && notes.contains(U("взрыв.xlsx")))
      << notes.join('|').toStdString();
}

// The complex assessment warns of the grid's edge before its workbook is offered, the other runs after the offer.
TEST(RunWorkbook, TheComplexAssessmentWarnsOfTheGridsEdgeBeforeItsWorkbookIsOffered) {
  for (const auto& [code, warnedFirst] : {std::pair{1, true}, std::pair{2, false}, std::pair{7, false}}) {
    test::MessageCatcher messages;
    SaveAnswer cancel{QString()};
    std::vector<size_t> warnedBeforeAsked;
    cancel.onAsk = [&] { warnedBeforeAsked.push_back(messages.requests.size()); };
    auto record = Record();
    record->request.run.scenario = result::ScenarioOf(code).value();
    record->ZoneAtEdge = true;
    QWidget owner;
    auto* controller = new RunController(&owner);
    controller->setExecute([record](run::PreparedRun, models::Progress&, const run::ExecuteOptions&) {
      run::RunOutcome out;
      out.snapshot = record;
      return out;
    });
    ASSERT_TRUE(controller->start(run::PreparedRun{}, {QString(), true})) << code;
    ASSERT_TRUE(test::WaitUntil([controller] { return !controller->running(); })) << code;
    EXPECT_EQ(messages.texts(), QStringList{U(run::texts::kEdgeWarning)}) << code;
    EXPECT_EQ(warnedBeforeAsked, std::vector<size_t>{warnedFirst ? 1u : 0u}) << code;
  }
}

// A thread the system refuses: the run is told and not started, and the dialog stays as it was, its input
// there for another try (before, it waited for a run that never began). A workbook that is not saved, its
// file blocked by a folder or its writer refused, is told and the dialog comes again until it is saved or
// cancelled (before, it was lost after the first failure).
TEST(RunWorkbook, AThreadTheSystemRefusesOrAFailedSaveLosesNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath(U("взрыв.xlsx")), blocked = dir.filePath(U("занято.xlsx"));
  ASSERT_TRUE(QDir().mkpath(blocked));
  test::MessageCatcher messages(QMessageBox::No);
  SaveAnswer answer({blocked, path, path});
  int asked = 0;
  std::vector<int> refused{0};  // the turns of the threads the system refuses, 0 the first asked for
  SetWorkerStarter([&](QThread* thread) { return !std::ranges::count(refused, asked++) && (thread->start(), true); });
  QWidget parent;
  Form6* form = Press(&parent, 2);
  EXPECT_FALSE(form->running());
  EXPECT_TRUE(form->isVisible() && parent.isEnabled() && form->findChild<QPushButton*>("cmdRaschet")->isEnabled());
  EXPECT_EQ(form->findChild<QLineEdit*>(U("Text1"))->text(), U("1"));
  refused = {3};  // the run starts; the workbook's writer into the folder, then refused, then the save
  form->findChild<QPushButton*>("cmdRaschet")->click();
  test::WaitUntil([form] { return !form->running(); });
  SetWorkerStarter(nullptr);
  EXPECT_EQ(answer.asked.size(), 3u);
  EXPECT_TRUE(SheetNames(path).contains(U("Избыточное давление, кПа")));
  const QStringList told = messages.texts();
  ASSERT_EQ(told.size(), 3) << told.join('|').toStdString();
  EXPECT_TRUE(told[0] == U(kNoRunThread) && told[1].contains(blocked) && told[2] == U(kNoWorkbookThread));
  SaveAnswer cancel({blocked, QString()});
  EXPECT_TRUE(OfferRunWorkbook(nullptr, *Record()).isEmpty());
  EXPECT_EQ(cancel.asked.size(), 2u);
}

}  // namespace
}  // namespace velaron::ui
