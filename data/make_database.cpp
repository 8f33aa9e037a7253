// Build tool: makes the program's database from the text in this folder.
//   velaron_make_database OUT schema.sql reference.sql gas.csv [--keep-existing | --overwrite]
// --keep-existing (scripts/make-database.sh on the user's database): an existing OUT holds the user's
// sections and archive and is left as it is; no data.db is made beside an existing Data.db either.
// --overwrite (the build's template, or a reset asked for): OUT is replaced by a fresh copy.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "dbbuilder.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 5 || args.size() > 6) {
    std::fprintf(stderr, "usage: velaron_make_database OUT schema.sql reference.sql gas.csv [--keep-existing|--overwrite]\n");
    return 2;
  }
  const QString out = args[1];
  const QString mode = args.size() == 6 ? args[5] : QStringLiteral("--keep-existing");
  if (mode != QLatin1String("--keep-existing") && mode != QLatin1String("--overwrite")) {
    std::fprintf(stderr, "unknown option %s\n", qPrintable(mode));
    return 2;
  }
  const bool overwrite = mode == QLatin1String("--overwrite");
  if (!overwrite && QFileInfo::exists(out)) {
    std::printf("%s exists: kept as it is\n", qPrintable(out));
    return 0;
  }
  // The program also opens the second name, Data.db, when data.db is missing. A new data.db beside the
  // user's Data.db would be opened first and hide the user's sections, so none is made then either.
  const QFileInfo outInfo(out);
  const QString fallback = outInfo.dir().filePath(QStringLiteral("Data.db"));
  if (!overwrite && outInfo.fileName() == QLatin1String("data.db") && QFileInfo::exists(fallback)) {
    std::printf("%s exists: no data.db is made beside it\n", qPrintable(fallback));
    return 0;
  }
  const QString error = velaron::dbbuild::MakeDatabase(out, {args[2], args[3], args[4]}, overwrite);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "velaron_make_database: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("made %s\n", qPrintable(out));
  return 0;
}
