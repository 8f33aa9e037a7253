// A scratch database for tests: a temporary file made from the program's schema text and opened as the
// program's connection. Rows are put in with plain SQL, independently of the code under test.
#pragma once

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include "db/database.h"

namespace velaron::test {

class ScratchDatabase {
 public:
  ScratchDatabase() {
    path_ = dir_.filePath("data.db");
    {
      QSqlDatabase maker = QSqlDatabase::addDatabase("QSQLITE", "scratch-maker");
      maker.setDatabaseName(path_);
      QFile schema(QStringLiteral(VELARON_SOURCE_DIR "/data/schema.sql"));
      if (maker.open() && schema.open(QIODevice::ReadOnly)) {
        QStringList kept;  // the schema without its comment lines, split into statements
        for (const QString& line : QString::fromUtf8(schema.readAll()).split('\n'))
          if (!line.trimmed().startsWith("--")) kept << line;
        for (const QString& stmt : kept.join('\n').split(';'))
          if (!stmt.trimmed().isEmpty()) QSqlQuery(maker).exec(stmt);
      }
      maker.close();
    }
    QSqlDatabase::removeDatabase("scratch-maker");
    error_ = db::OpenDatabase(path_);
  }
  ~ScratchDatabase() { db::CloseDatabase(); }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  QString error() const { return error_; }
  const QString& path() const { return path_; }

  // Runs one statement on the program's connection; false when it failed.
  bool Exec(const QString& sql, const QVariantList& values = {}) { return Run(sql, values).isActive(); }
  // The first column of the first row of a query (a count, say).
  QVariant Scalar(const QString& sql, const QVariantList& values = {}) {
    QSqlQuery q = Run(sql, values);
    return q.isActive() && q.next() ? q.value(0) : QVariant();
  }

 private:
  QSqlQuery Run(const QString& sql, const QVariantList& values) {
    QSqlQuery q(db::Connection());
    if (q.prepare(sql)) {
      for (const QVariant& v : values) q.addBindValue(v);
      q.exec();
    }
    return q;
  }
  QTemporaryDir dir_;
  QString path_;
  QString error_;
};

}  // namespace velaron::test
