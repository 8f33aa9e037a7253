// The driver's input file checked as a JSON text before any field is read. Qt's JSON reader takes more than
// the grammar ("\q" read as "q", numbers such as "1.", control characters within strings), names a fault in
// English by byte offset, and keeps one of the values of a key given twice in silence; this check refuses
// all of these, in Russian, naming the line and the position of the first faulty token.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

namespace velaron::run {

// A field of the file as the driver's messages name it: by its key, and within an object by that object's name
// (`group`; empty at the top).
QString FieldText(const QString& key, const QString& group);

// The file's text `json` as one JSON object. Nothing, with the refusal in `error`, when the text breaks the
// JSON grammar, is empty, is no object, or has an object that holds one key more than once (the first such
// key, named with the object that holds it).
std::optional<QJsonObject> ReadJsonObject(const QByteArray& json, QString& error);

}  // namespace velaron::run
