// The driver's whole output for one realistic run of each scenario code on the shipped template, against
// the files of this folder: codeN.in.json is the input, codeN.out.json the output it must give, every grid
// the run computes included, so that a change to any field shows. The driver runs as a process, as a script
// runs it, and a plain run prints nothing on standard error.
// Numbers agree within kRelativeTolerance, texts and flags exactly; a changed number therefore shows as a
// changed line of a stored file. After a deliberate change, VELARON_UPDATE_GOLDEN=1 rewrites the stored
// outputs from the driver's, for the review to read.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "result/run_snapshot.h"

namespace velaron::test {
namespace {

constexpr double kRelativeTolerance = 1e-9;

QString Stored(int code, const char* kind) {
  return QStringLiteral(VELARON_SOURCE_DIR "/tests/golden/code%1.%2.json").arg(code).arg(QLatin1String(kind));
}

// Every difference between `got` and `want`, each named by its place ("derived.MassFlow", "ZoneR[2][1]").
void Compare(const QJsonValue& got, const QJsonValue& want, const QString& at, QStringList& diffs) {
  if (got.isDouble() && want.isDouble()) {
    const double a = got.toDouble(), b = want.toDouble();
    if (std::fabs(a - b) > kRelativeTolerance * std::max(std::fabs(a), std::fabs(b)))
      diffs << QStringLiteral("%1: %2, stored %3").arg(at).arg(a, 0, 'g', 17).arg(b, 0, 'g', 17);
  } else if (got.isArray() && want.isArray() && got.toArray().size() == want.toArray().size()) {
    for (qsizetype i = 0; i < want.toArray().size(); ++i)
      Compare(got.toArray()[i], want.toArray()[i], QStringLiteral("%1[%2]").arg(at).arg(i), diffs);
  } else if (got.isObject() && want.isObject() && got.toObject().keys() == want.toObject().keys()) {
    for (const QString& key : want.toObject().keys())
      Compare(got.toObject()[key], want.toObject()[key], at.isEmpty() ? key : at + QLatin1Char('.') + key, diffs);
  } else if (got != want) {
    diffs << at + QStringLiteral(": ") + QJsonDocument(QJsonArray{got}).toJson(QJsonDocument::Compact) +
                 QStringLiteral(", stored ") + QJsonDocument(QJsonArray{want}).toJson(QJsonDocument::Compact);
  }
}

// The stored form: one member of an object a line, a list of plain values on one line.
QString Readable(const QJsonValue& v, const QString& indent = {}) {
  const QString in = indent + QStringLiteral("  ");
  QStringList parts;
  bool flat = v.isArray();
  for (const QString& key : v.toObject().keys()) parts << in + '"' + key + "\": " + Readable(v.toObject()[key], in);
  for (const QJsonValue& e : v.toArray()) {
    parts << Readable(e, in);
    flat = flat && !e.isArray() && !e.isObject();
  }
  if (v.isDouble()) return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
  if (!v.isArray() && !v.isObject())
    return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
  if (flat || parts.isEmpty()) return (v.isArray() ? "[" : "{") + parts.join(", ") + (v.isArray() ? "]" : "}");
  const QString sep = QStringLiteral(",\n") + (v.isArray() ? in : QString());
  return (v.isArray() ? "[\n" + in : QStringLiteral("{\n")) + parts.join(sep) + '\n' + indent +
         (v.isArray() ? "]" : "}");
}

class Golden : public ::testing::TestWithParam<int> {};

TEST_P(Golden, TheDriversOutputIsTheStoredOne) {
  const int code = GetParam();
  QTemporaryDir dir;
  const QString db = dir.filePath(QStringLiteral("data.db"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), db));
  QProcess driver;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));  // as a script or a service starts it
  driver.setProcessEnvironment(env);
  driver.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
               {QStringLiteral("--db"), db, Stored(code, "in"), QStringLiteral("--threads"), QStringLiteral("2"),
                QStringLiteral("--grids"), result::GridNames().join(QLatin1Char(','))});
  ASSERT_TRUE(driver.waitForFinished(600000));
  const QByteArray errors = driver.readAllStandardError();
  EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
  ASSERT_EQ(driver.exitCode(), 0) << driver.readAllStandardOutput().toStdString();
  QJsonParseError parsed;
  const QJsonObject got = QJsonDocument::fromJson(driver.readAllStandardOutput(), &parsed).object();
  ASSERT_EQ(parsed.error, QJsonParseError::NoError) << parsed.errorString().toStdString();

  QFile stored(Stored(code, "out"));
  if (qEnvironmentVariableIsSet("VELARON_UPDATE_GOLDEN")) {
    ASSERT_TRUE(stored.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stored.write((Readable(got) + QLatin1Char('\n')).toUtf8());
    return;
  }
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly)) << stored.fileName().toStdString();
  const QJsonObject want = QJsonDocument::fromJson(stored.readAll(), &parsed).object();
  ASSERT_EQ(parsed.error, QJsonParseError::NoError) << stored.fileName().toStdString();
  QStringList diffs;
  Compare(got, want, QString(), diffs);
  EXPECT_TRUE(diffs.isEmpty()) << diffs.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Codes, Golden, ::testing::Range(1, 9),
                         [](const ::testing::TestParamInfo<int>& info) { return "code" + std::to_string(info.param); });

}  // namespace
}  // namespace velaron::test
