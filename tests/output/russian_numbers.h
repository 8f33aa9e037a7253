// Switches the C library's number formatting to Russian (decimal comma) for a test, to show that the
// writers keep the point in their files whatever locale the program runs under.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <string>

namespace velaron::test {

// Switches LC_NUMERIC to Russian (decimal comma) for the test and back. When the system has no compiled
// Russian locale, one is compiled into a temporary folder from the system's locale sources, if present.
struct RussianNumbers {
  RussianNumbers() : previous(std::setlocale(LC_NUMERIC, nullptr)), hadLocPath(qEnvironmentVariableIsSet("LOCPATH")) {
    oldLocPath = qgetenv("LOCPATH");
    active = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    if (active || !QFile::exists("/usr/share/i18n/locales/ru_RU") || !dir.isValid()) return;
    QProcess::execute("localedef", {"-i", "ru_RU", "-f", "UTF-8", dir.filePath("ru_RU.UTF-8")});
    qputenv("LOCPATH", dir.path().toLocal8Bit());
    active = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
  }
  ~RussianNumbers() {
    std::setlocale(LC_NUMERIC, previous.c_str());
    if (hadLocPath) qputenv("LOCPATH", oldLocPath);
    else qunsetenv("LOCPATH");
  }
  std::string previous;
  bool hadLocPath;
  QByteArray oldLocPath;
  QTemporaryDir dir;
  bool active = false;
};

}  // namespace velaron::test
