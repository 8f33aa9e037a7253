// Gives a test a database of its own: a copy of the pristine database the build makes from the schema and
// reference rows the program ships with, so that no test touches the database beside the program.
#pragma once

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace velaron::test {

inline bool MakeDatabase(const QString& path) {
  if (!QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), path)) {
    ADD_FAILURE() << "cannot copy " << VELARON_PRISTINE_DB << " to " << path.toStdString();
    return false;
  }
  // A copy keeps the source's permissions; the tests write to it.
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  return true;
}

}  // namespace velaron::test
