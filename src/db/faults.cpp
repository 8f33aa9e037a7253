// Why a database query failed, told in the user's words: the one place of those texts for reads, writes,
// the start-up probe and the driver.
#include <QSqlQuery>

#include "db/db_internal.h"

namespace velaron::db::detail {
namespace {

// SQLite's primary result codes that have a cause of their own.
enum SqliteCode {
  kPerm = 3,
  kBusyCode = 5,
  kLockedCode = 6,
  kNoMem = 7,
  kReadOnlyCode = 8,
  kIoErr = 10,
  kCorrupt = 11,
  kFull = 13,
  kCantOpen = 14,
  kConstraint = 19,
  kNotADb = 26,
};

// Qt drops SQLite's code on a few paths (a failed commit of QSqlDatabase, for one) and keeps only SQLite's
// text of it: the texts SQLite gives each of these codes.
int CodeOfText(const QString& text) {
  static const std::pair<const char*, int> kTexts[] = {
      {"database table is locked", kLockedCode},
      {"database is locked", kBusyCode},
      {"database or disk is full", kFull},
      {"attempt to write a readonly database", kReadOnlyCode},
      {"database disk image is malformed", kCorrupt},
      {"file is not a database", kNotADb},
      {"disk I/O error", kIoErr},
      {"unable to open database file", kCantOpen},
  };
  for (const auto& [words, code] : kTexts)
    if (text.contains(QLatin1String(words), Qt::CaseInsensitive)) return code;
  return 0;
}

}  // namespace

QString QueryFault(const QSqlError& e) {
  if (!e.isValid()) return QStringLiteral("база данных не открыта");
  bool numbered = false;
  int code = e.nativeErrorCode().toInt(&numbered) & 0xFF;  // the primary code of an extended one
  if (!numbered || code == 0 || code == 1) code = CodeOfText(e.databaseText() + ' ' + e.driverText());
  switch (code) {
    case kBusyCode: return QString::fromUtf8(kBusy);
    case kLockedCode: return QStringLiteral("таблица базы данных занята другим запросом программы");
    case kFull: return QStringLiteral("нет места на диске, или файл базы данных достиг предельного размера");
    case kReadOnlyCode: return QStringLiteral("база данных открыта только для чтения");
    case kCorrupt: return QString::fromUtf8(kDamaged);
    case kNotADb: return QString::fromUtf8(kNotDatabase);
    case kIoErr: return QStringLiteral("ошибка чтения или записи файла базы данных на диске");
    case kCantOpen: return QStringLiteral("файл базы данных не открывается: нет доступа к нему или к его папке");
    case kPerm: return QStringLiteral("нет доступа к файлу базы данных");
    case kNoMem: return QStringLiteral("не хватает памяти");
    default: break;
  }
  // No words of its own: what kind of failure it is, then SQLite's text (a rule of the table, say).
  const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
  if (code == kConstraint) return QStringLiteral("запись не допускается правилами таблицы (%1)").arg(text);
  return QStringLiteral("база данных не выполнила запрос (%1)").arg(text);
}

QString WriteFailed(const QString& why) { return QStringLiteral("Ошибка записи в базу данных: %1").arg(why); }

QString WriteFailed(const QSqlQuery& query) { return WriteFailed(QueryFault(query.lastError())); }

QString ReadFailed(const QString& table, const QSqlQuery& query) {
  return QStringLiteral("Ошибка чтения базы данных (таблица \"%1\"): %2").arg(table, QueryFault(query.lastError()));
}

QString Control(const char* statement) {
  QSqlQuery q(Connection());
  if (!Run(q, QString::fromLatin1(statement))) return QueryFault(q.lastError());
  return {};
}

}  // namespace velaron::db::detail
