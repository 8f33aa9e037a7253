// velaron-calc --report: the driver writes the same document as the window, from the run's record.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "result/crossings.h"
#include "run/sample_request.h"
#include "zip_reader.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

struct CalcRun {
  int exitCode = -1;
  QJsonObject out;
};

CalcRun RunCalc(const QString& input, const QStringList& extra) {
  QProcess p;
  p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
          QStringList{QStringLiteral("--db"), QStringLiteral(VELARON_BIN_DIR "/data.pristine.db"), input} + extra);
  CalcRun r;
  if (!p.waitForFinished(120000)) return r;
  r.exitCode = p.exitCode();
  r.out = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  return r;
}

bool WriteInput(const QString& path, const QByteArray& json) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(json) == json.size();
}

}  // namespace

// Each crossing ticked alone in the section's flags dpp1..dpp4 prints its own line, in the window's order:
// road, power line, other pipeline, cable line (before, a power line came out as a cable line and a cable
// line as a power line).
TEST(CalcReport, EachCrossingOfTheSectionPrintsItsOwnLine) {
  QTemporaryDir dir;
  const QString input = dir.filePath("in.json"), out = dir.filePath("out.docx");
  for (int i = 0; i < velaron::result::kCrossingCount; ++i) {
    SCOPED_TRACE(i);
    const QByteArray flag = QStringLiteral("\"p_v\": 0.1, \"dpp%1\": 1,").arg(i + 1).toUtf8();
    ASSERT_TRUE(WriteInput(input, velaron::test::SampleRequest(2).replace("\"p_v\": 0.1,", flag)));
    ASSERT_EQ(RunCalc(input, {QStringLiteral("--report"), out}).exitCode, 0);
    const QStringList lines = velaron::test::DocxLines(out);
    EXPECT_EQ(lines.mid(lines.indexOf(U("Данные по участку: ")), 3),
              QStringList({U("Данные по участку: "), U(velaron::result::kCrossings[size_t(i)].reportLine), ""}));
  }
}

TEST(CalcReport, WritesTheYearRoundReportsWithTheTownsWindTableAndTheRunsZoneRadii) {
  QTemporaryDir dir;
  const QString input = dir.filePath("in.json");
  for (int code : {7, 1}) {
    SCOPED_TRACE(code);
    ASSERT_TRUE(WriteInput(input, velaron::test::SampleRequest(code, 200, 10)));
    const QString out = dir.filePath(QStringLiteral("year%1.docx").arg(code));
    const CalcRun r = RunCalc(input, {QStringLiteral("--report"), out});
    ASSERT_EQ(r.exitCode, 0);
    const auto parts = velaron::test::ReadZip(out);
    ASSERT_TRUE(parts.count("word/document.xml"));
    const velaron::test::DocxBody body = velaron::test::ReadDocxBody(parts.at("word/document.xml"));
    EXPECT_TRUE(velaron::test::DocxLines(out).contains(code == 7 ? U("Комплексная оценка факельного горения при гильотинном разрушении "
                                             "газопровода в течение года")
                                         : U("Комплексная оценка опасных зон при гильотинном разрушении газопровода")));
    // The wind table of the run's town, and the rose as the sixth picture.
    ASSERT_EQ(body.tables.size(), 5u);
    const auto& wind = body.tables[0];
    ASSERT_EQ(wind.rows(), 11);
    EXPECT_EQ(wind.text[3][0], U("Северо -восточный"));
    for (int rr = 2; rr < 11; ++rr)
      for (int c = 1; c < 5; ++c) EXPECT_FALSE(wind.text[size_t(rr)][size_t(c)].isEmpty()) << rr << " " << c;
    EXPECT_EQ(parts.count("word/media/image6.png"), 1u);
    // The year-round table's combined column: the run's own CurZones.
    const auto& year = body.tables[4];
    ASSERT_EQ(year.cols(), code == 7 ? 7 : 10);
    const QJsonArray zones = r.out.value("CurZones").toArray();
    ASSERT_EQ(zones.size(), 4);
    for (int z = 0; z < 4; ++z) {
      const double v = zones[z].toDouble();
      const QString want = v == -1 ? U("уточнить") : QString::number(v, 'g', 15).replace('.', ',');
      EXPECT_EQ(year.text[size_t(2 + z)][size_t(year.cols() - 1)], want) << z;
    }
  }
}
