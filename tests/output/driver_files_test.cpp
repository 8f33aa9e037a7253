// The files around a run of the command-line driver: the documents, the database and input beside them,
// and the results on standard output.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/drawing_threads.h"
#include "common/qt_text.h"
#include "db/db_files.h"
#include "result/crossings.h"
#include "result/run_snapshot.h"
#include "run/run_fixtures.h"
#include "zip_reader.h"

namespace velaron::test {
namespace {

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WellFormed(const std::string& xml) {
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  while (!r.atEnd()) r.readNext();
  return !r.hasError();
}

class DriverFiles : public ::testing::Test {
 protected:
  struct Calc {
    int exitCode = -1;
    QJsonObject json;
    QByteArray errors;
    QString error() const { return json["error"].toString(); }
  };
  void SetUp() override {
    ASSERT_TRUE(db.ok());
    WriteInput(SampleRequest(6, 200, 20));
  }
  void WriteInput(const QByteArray& json) {
    QFile f(input);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(json);
  }
  // velaron-calc --db <copy> in.json `args`, its standard output to `stdoutFile` when given.
  Calc Run(const QStringList& args, const QString& stdoutFile = {}) {
    QProcess p;
    if (!stdoutFile.isEmpty()) p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"), QStringList{"--db", db.path(), input} + args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), stdoutFile.isEmpty() ? ParseJson(p.readAllStandardOutput()) : QJsonObject(),
            p.readAllStandardError()};
  }
  QString Out(const QString& name) const { return dir.filePath(name); }

  DatabaseCopy db;
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("in.json"));
};

// `--workbook D/data.db` left an .xlsx where the sections and the archive were, `--report in.json` replaced
// the input, `--report X --workbook X` kept only the report. Refused before the run whatever the spelling.
TEST_F(DriverFiles, ADocumentNeverTakesThePlaceOfTheDatabaseTheInputOrTheOtherDocument) {
  ASSERT_TRUE(QFile::link(db.path(), Out("ссылка.db")) && QDir(dir.path()).mkdir("sub"));
  const QByteArray dbBefore = Bytes(db.path()), inputBefore = Bytes(input);
  const std::pair<QStringList, const char*> cases[] = {
      {{"--workbook", QFileInfo(db.path()).absolutePath() + "/./data.db"}, "— это база данных"},
      {{"--report", Out("ссылка.db")}, "— это база данных"},
      {{"--report", dir.path() + "/../" + QDir(dir.path()).dirName() + "/in.json"}, "— это входной файл"},
      {{"--report", Out("итог"), "--workbook", Out("sub/../итог")}, "Книга и отчет не могут быть записаны в один файл"},
  };
  for (const auto& [args, refusal] : cases) {
    const Calc r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << refusal;
    EXPECT_TRUE(r.error().contains(U(refusal)) && !r.json.contains("ScenarioCode")) << r.error().toStdString();
  }
  EXPECT_TRUE(Bytes(db.path()) == dbBefore && Bytes(input) == inputBefore && !QFile::exists(Out("итог")));
}

// The results cut short on a full disk ended with status 0.
TEST_F(DriverFiles, ResultsThatCannotBeWrittenOutEndWithTheReason) {
  const Calc r = Run({}, QStringLiteral("/dev/full"));
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.errors.contains("не удалось вывести результаты: нет места на диске")) << r.errors.toStdString();
}

// U+FFFE in the location went raw into the XML and word processors refused the file; likewise a lone
// surrogate half or a control character, there or in a gas name.
TEST_F(DriverFiles, CharactersXmlCannotHoldNeverReachADocument) {
  ExecOnFile(db.path(), "UPDATE abc SET VName = 'Метан' || char(1) || '-2' WHERE rowid = 1");
  QByteArray json = SampleRequest(6, 200, 20);
  json.insert(json.lastIndexOf('}'), R"(, "texts": {"Mestn": "км 12\ufffe, \ud800участок\u0007 3"})");
  WriteInput(json);
  const Calc r = Run({"--report", Out("отчет.docx"), "--workbook", Out("книга.xlsx")});
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  const Parts docx = ReadZip(Out("отчет.docx"));
  ASSERT_TRUE(WellFormed(docx.at("word/document.xml")));
  const QString body = ElementTexts(docx.at("word/document.xml"), "w:t").join('|');
  EXPECT_TRUE(body.contains(U("км 12, участок 3")) && body.contains(U("Метан-2"))) << body.toStdString();
  bool gasLine = false;
  for (const auto& [name, xml] : ReadWorkbook(Out("книга.xlsx")).parts) {
    EXPECT_TRUE(!name.ends_with(".xml") || WellFormed(xml)) << name;
    gasLine = gasLine || QString::fromStdString(xml).contains(U("Газ: Метан-2"));
  }
  EXPECT_TRUE(gasLine);
}

// 20001 points across with the workbook asked for: refused before anything runs, even the section's look-up.
TEST_F(DriverFiles, AGridWiderThanASheetIsRefusedBeforeTheRun) {
  QJsonObject request = QJsonDocument::fromJson(SampleRequest(6, 200, 20)).object();
  QJsonObject settings = request["settings"].toObject();
  settings["XLimit"] = 20000, settings["YLimit"] = 40, settings["CStep"] = 1;
  request["settings"] = settings;
  request["section"] = QJsonObject{{"TPID", 999}};
  WriteInput(QJsonDocument(request).toJson());
  const Calc r = Run({"--workbook", Out("книга.xlsx")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.error().startsWith(U("Лист книги вмещает не более 16384 точек сетки по X"))) << r.error().toStdString();
  EXPECT_FALSE(QFile::exists(Out("книга.xlsx")));
}

// `--report ""` wrote nothing with status 0, a grid named twice was printed twice, `--report /dev/stdout >
// o.txt` put the document in o.txt's place and the results into a file of no name, and a name that is not
// UTF-8 was written under another: each is refused before the run, and nothing is written.
TEST_F(DriverFiles, OutputsThatCannotBeWrittenAsAskedAreRefusedBeforeTheRun) {
  const std::pair<QStringList, const char*> cases[] = {
      {{"--report", ""}, "после --report нужен файл отчета"},
      {{"--workbook", ""}, "после --workbook нужен файл книги"},
      {{"--grids", "GridValue,GridRisk,GridValue"}, "Сетка указана несколько раз: GridValue"},
      {{"--workbook", "/dev/null"}, "Файл /dev/null — не обычный файл"},
      {{"--report", dir.path()}, "— не обычный файл"},
  };
  for (const auto& [args, refusal] : cases) {
    const Calc r = Run(args);
    EXPECT_TRUE(r.exitCode == 2 && r.error().contains(U(refusal))) << refusal << ": " << r.error().toStdString();
  }
  const QString results = Out("o.txt");
  EXPECT_EQ(Run({"--report", "/dev/stdout"}, results).exitCode, 2);
  EXPECT_TRUE(ParseJson(Bytes(results))["error"].toString().contains(U("/dev/stdout — это стандартный вывод")));
  QProcess p;
  p.start("/bin/sh", {"-c", "exec \"$0\" --db \"$1\" \"$2\" --report \"$3/$(printf '\\377')\"",
                      VELARON_BIN_DIR "/velaron-calc", db.path(), input, dir.path()});
  ASSERT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_TRUE(ParseJson(p.readAllStandardOutput())["error"].toString().startsWith(U("Имя файла не в кодировке UTF-8")));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.json", "o.txt"}));
}

// Each crossing ticked alone in the section's flags dpp1..dpp4 prints its own line, in the window's order:
// road, power line, other pipeline, cable line (before, a power line came out as a cable line and a cable
// line as a power line).
TEST_F(DriverFiles, EachCrossingOfTheSectionPrintsItsOwnLine) {
  const QString out = Out(QStringLiteral("out.docx"));
  for (int i = 0; i < result::kCrossingCount; ++i) {
    SCOPED_TRACE(i);
    const QByteArray flag = QStringLiteral("\"p_v\": 0.1, \"dpp%1\": 1,").arg(i + 1).toUtf8();
    WriteInput(SampleRequest(2).replace("\"p_v\": 0.1,", flag));
    ASSERT_EQ(Run({"--report", out}).exitCode, 0);
    const QStringList lines = DocxLines(out);
    EXPECT_EQ(lines.mid(lines.indexOf(U("Данные по участку: ")), 3),
              QStringList({U("Данные по участку: "), U(result::kCrossings[size_t(i)].reportLine), ""}));
  }
}

// The route azimuth is stored as typed and used modulo a full turn: 400° and -320° give the results and the
// pictures of 40° to the last bit, and the report prints the azimuth that was given.
TEST_F(DriverFiles, AnAzimuthPastAFullTurnComputesAndDrawsAsWithinOneTurn) {
  for (const int code : {1, 4})
    for (const char* azimuth : {"40", "400", "-320"}) {
      SCOPED_TRACE(std::to_string(code) + " at " + azimuth);
      // 240 m at 20 m: on 200 m the zone of 99,99 % of the asymmetric flame lies between the grid's points.
      WriteInput(SampleRequest(code, 240, 20).replace("\"Azimut\": 30", QByteArray("\"Azimut\": ") + azimuth));
      ASSERT_EQ(Run({"--grids", result::GridNames().join(','), "--workbook", Out("b.xlsx"), "--report", Out("r.docx")},
                    Out(azimuth))
                    .exitCode,
                0);
      std::vector<QImage> pictures;
      for (const SheetPart& sheet : ReadWorkbook(Out("b.xlsx")).sheets)
        pictures.insert(pictures.end(), sheet.pictures.begin(), sheet.pictures.end());
      static std::vector<QImage> within;
      if (azimuth == std::string("40")) within = pictures;
      EXPECT_TRUE(Bytes(Out(azimuth)) == Bytes(Out("40")) && pictures == within && !within.empty());
      EXPECT_TRUE(DocxLines(Out("r.docx")).contains(U("Азимут трубопровода:  ") + azimuth));
    }
}

// `--workbook /dev/stderr` with standard error sent to a log replaced the log with the workbook and ended
// with status 0; standard input's file is kept alike. Both are refused before the run and stay as they were.
TEST_F(DriverFiles, ADocumentNeverReplacesTheFileOfStandardErrorOrStandardInput) {
  const QString log = Out("журнал.txt"), typed = Out("ввод.txt");
  for (const auto& [path, text] : {std::pair{log, "строка журнала\n"}, std::pair{typed, "ввод"}}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(text) > 0);
  }
  const std::pair<QStringList, const char*> cases[] = {
      {{"--workbook", "/dev/stderr"}, "/dev/stderr — это стандартный поток ошибок"},
      {{"--report", "/proc/self/fd/2"}, "/proc/self/fd/2 — это стандартный поток ошибок"},
      {{"--report", "/dev/stdin"}, "/dev/stdin — это стандартный ввод"},
  };
  for (const auto& [args, refusal] : cases) {
    QProcess p;
    p.setStandardErrorFile(log, QIODevice::Append);
    p.setStandardInputFile(typed);
    p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"), QStringList{"--db", db.path(), input} + args);
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_TRUE(p.exitCode() == 2 && ParseJson(p.readAllStandardOutput())["error"].toString().contains(U(refusal)))
        << refusal;
  }
  EXPECT_EQ(Bytes(log), "строка журнала\n");
  EXPECT_EQ(Bytes(typed), "ввод");
}

// A driver ended by a signal left its private runtime folder (velaron-calc-XXXXXX, made when the session
// has none) in the temporary folder, one more at every kill. It goes before the calculation starts: a signal
// at once, soon after the start or in the middle of a long run leaves nothing there.
TEST_F(DriverFiles, ADriverEndedBySignalLeavesNoFolderBehind) {
  const QString temporary = Out("временная");
  WriteInput(SampleRequest(1, 1000, 10));  // a run of many seconds on one thread
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("XDG_RUNTIME_DIR");
  env.insert("TMPDIR", temporary);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    for (const int afterMs : {0, 50, 1500}) {
      SCOPED_TRACE(std::to_string(signal) + " after " + std::to_string(afterMs) + " ms");
      ASSERT_TRUE(QDir(temporary).removeRecursively() && QDir().mkpath(temporary));
      QProcess p;
      p.setProcessEnvironment(env);
      p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
              QStringList{"--db", db.path(), input, "--threads", "1", "--report", Out("r.docx")});
      ASSERT_TRUE(p.waitForStarted());
      QThread::msleep(static_cast<unsigned long>(afterMs));
      ASSERT_EQ(kill(static_cast<pid_t>(p.processId()), signal), 0);
      ASSERT_TRUE(p.waitForFinished(60000));
      EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << "ended by the signal, not by the end of the run";
      EXPECT_EQ(QDir(temporary).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }
}

// Under a limit on the number of processes the documents waited for ever: Qt's drawing gave a piece of a
// picture to a pool thread the system refused, and waited for it. The driver is run as a user of the test's
// own (the limit counts every process and thread of one user, and spares the super-user) with one thread
// less than it needs (its main thread and its drawing threads) and with one more. Below, it refuses at once
// and writes nothing; above, it writes both documents, with the results and pictures of a run without limit.
TEST_F(DriverFiles, UnderAProcessLimitTheDocumentsAreRefusedAtOnceOrWritten) {
  if (geteuid() != 0) GTEST_SKIP() << "only the super-user can run the driver as a user of its own";
  const uid_t user = 3000000 + static_cast<uid_t>(getpid());  // shared with no other process
  const QString place = Out("под-пределом") + "/";
  const auto own = [user](const QString& path) { return chown(QFile::encodeName(path).constData(), user, user) == 0; };
  ASSERT_TRUE(QDir().mkpath(place) && own(place) && chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
  for (const auto& [from, to] : {std::pair{QString(VELARON_BIN_DIR "/velaron-calc"), "velaron-calc"},
                                 std::pair{db.path(), "data.db"}, std::pair{input, "in.json"}})
    ASSERT_TRUE(QFile::copy(from, place + to) && own(place + to));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("XDG_RUNTIME_DIR");
  env.insert("TMPDIR", place), env.insert("HOME", place);
  // The leak check of a sanitized build needs a task of its own, which the limit may refuse.
  if (env.contains("ASAN_OPTIONS")) env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
  // The driver writing both documents as `name`.docx and `name`.xlsx with at most `limit` processes and
  // threads (none of its own when 0): its status (-1 when it waited for ever) and standard output.
  const auto run = [&](int limit, const QString& name) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(place);
    p.setChildProcessModifier([limit, user] {
      const rlimit processes{rlim_t(limit), rlim_t(limit)};
      if ((limit > 0 && setrlimit(RLIMIT_NPROC, &processes) != 0) || setgroups(0, nullptr) != 0 || setgid(user) != 0 ||
          setuid(user) != 0)
        _exit(99);
    });
    p.start(place + "velaron-calc", {"--db", "data.db", "in.json", "--grids", "GridProc", "--report", name + ".docx",
                                     "--workbook", name + ".xlsx"});
    const bool finished = p.waitForFinished(90000);
    return std::pair(finished ? p.exitCode() : -1, p.readAllStandardOutput());
  };
  const auto pictures = [&](const QString& name) {
    std::vector<QImage> all;
    for (const SheetPart& sheet : ReadWorkbook(place + name + ".xlsx").sheets)
      all.insert(all.end(), sheet.pictures.begin(), sheet.pictures.end());
    return all;
  };
  const auto [freeStatus, freeOut] = run(0, "без-предела");  // the limit the test itself has
  if (freeStatus == 99) GTEST_SKIP() << "the system does not let the test change to a user of its own";
  ASSERT_EQ(freeStatus, 0) << freeOut.toStdString();
  const int needed = 1 + DrawingThreadCount();
  const auto [belowStatus, belowOut] = run(needed - 1, "ниже");
  EXPECT_EQ(belowStatus, 2) << "-1: waited for ever below the limit";
  EXPECT_TRUE(ParseJson(belowOut)["error"].toString().startsWith(
      U("Система не дала программе создать потоки рисования: создано %1 из %2").arg(needed - 2).arg(needed - 1)))
      << belowOut.toStdString();
  EXPECT_FALSE(QFile::exists(place + "ниже.docx") || QFile::exists(place + "ниже.xlsx"));
  const auto [aboveStatus, aboveOut] = run(needed + 1, "выше");
  ASSERT_EQ(aboveStatus, 0) << "-1: waited for ever above the limit";
  EXPECT_EQ(aboveOut, freeOut);
  EXPECT_TRUE(!pictures("без-предела").empty() && pictures("выше") == pictures("без-предела"));
  EXPECT_FALSE(DocxLines(place + "выше.docx").isEmpty());
  EXPECT_EQ(QDir(place).entryList({"velaron-calc-*"}, QDir::AllEntries), QStringList{}) << "no runtime folder left";
}

}  // namespace
}  // namespace velaron::test
