#include "run/json_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>
#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>
#include <vector>

namespace velaron::run {

namespace {

// The first key that one object of the file holds more than once, with the name of that object ("" at the
// top; an object within an array goes by the array's name). The JSON reader keeps one of the values in
// silence, so the file's text is scanned for them; it is known to be well-formed JSON here.
std::optional<std::pair<QString, QString>> RepeatedKey(const QByteArray& json) {
  struct Open {
    bool object;
    QString name;
    QSet<QString> keys;
  };
  std::vector<Open> open;
  QString lastKey;
  bool keyNext = false;
  const qsizetype n = json.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char c = json[i];
    if (c == '{' || c == '[') {
      const QString name = open.empty() ? QString() : open.back().object ? lastKey : open.back().name;
      open.push_back({c == '{', name, {}});
      keyNext = c == '{';
    } else if (c == '}' || c == ']') {
      if (!open.empty()) open.pop_back();
      keyNext = false;
    } else if (c == ',') {
      keyNext = !open.empty() && open.back().object;
    } else if (c == '"') {
      const qsizetype start = i;
      bool escaped = false;
      for (++i; i < n && (escaped || json[i] != '"'); ++i) escaped = !escaped && json[i] == '\\';
      if (!keyNext || open.empty()) continue;
      keyNext = false;
      const QByteArray raw = json.mid(start, i - start + 1);
      // A key spelt with escapes is the same key as one spelt without: the reader decodes it.
      lastKey = raw.contains('\\') ? QJsonDocument::fromJson("[" + raw + "]").array().at(0).toString()
                                   : QString::fromUtf8(raw.mid(1, raw.size() - 2));
      if (open.back().keys.contains(lastKey)) return std::pair{lastKey, open.back().name};
      open.back().keys.insert(lastKey);
    }
  }
  return std::nullopt;
}

// What is wrong at the place where the JSON reader stopped, in the user's words.
const char* JsonFaultText(QJsonParseError::ParseError error) {
  switch (error) {
    case QJsonParseError::UnterminatedObject: return "объект не закрыт: нет \"}\" или запятой между полями";
    case QJsonParseError::MissingNameSeparator: return "нет двоеточия после имени поля";
    case QJsonParseError::UnterminatedArray: return "массив не закрыт: нет \"]\" или запятой между значениями";
    case QJsonParseError::MissingValueSeparator: return "нет запятой между значениями";
    case QJsonParseError::IllegalValue: return "недопустимое значение";
    case QJsonParseError::TerminationByNumber: return "файл обрывается на числе";
    case QJsonParseError::IllegalNumber: return "недопустимое число";
    case QJsonParseError::IllegalEscapeSequence: return "недопустимый знак после \\ в строке";
    case QJsonParseError::IllegalUTF8String: return "текст не в кодировке UTF-8";
    case QJsonParseError::UnterminatedString: return "строка не закрыта кавычкой";
    case QJsonParseError::MissingObject: return "после запятой нет поля объекта";
    case QJsonParseError::DeepNesting: return "слишком глубокая вложенность объектов и массивов";
    case QJsonParseError::DocumentTooLarge: return "файл слишком велик";
    case QJsonParseError::GarbageAtEnd: return "лишний текст после конца объекта";
    default: return "файл не является документом JSON";
  }
}

// The first place where a text breaks the JSON grammar, met in the order Qt's reader reads: the byte offset
// of the first character of the faulty token (of the text's last character when it ends too soon) and what
// is wrong, in the reader's terms. Qt's reader takes more than the grammar (any escape, "\q" read as "q";
// numbers such as "1." and ".5"; control characters within strings) and stops past the faulty token or
// within it, so the text is checked against the grammar first.
class JsonGrammar {
 public:
  struct Fault {
    qsizetype offset;
    const char* what;
  };
  explicit JsonGrammar(const QByteArray& text) : s_(text), n_(text.size()) {}

  std::optional<Fault> firstFault() {
    // The reader skips a byte order mark.
    if (n_ > 3 && s_.startsWith("\xEF\xBB\xBF")) i_ = 3;
    space();
    if (i_ == n_) failAtEnd(E::IllegalValue);
    else if (s_[i_] != '{' && s_[i_] != '[') fail(i_, E::IllegalValue);  // a document is an object or an array
    else if (!value()) return fault_;
    else if (space()) fail(i_, E::GarbageAtEnd);
    else return std::nullopt;
    return fault_;
  }

 private:
  using E = QJsonParseError;
  const QByteArray& s_;
  const qsizetype n_;
  qsizetype i_ = 0;
  int depth_ = 0;
  Fault fault_{0, nullptr};

  bool fail(qsizetype at, const char* what) {
    fault_ = {at, what};
    return false;
  }
  bool fail(qsizetype at, E::ParseError error) { return fail(at, JsonFaultText(error)); }
  // The text ends where a token should be.
  bool failAtEnd(E::ParseError error) { return fail(n_ - 1, error); }
  unsigned char at(qsizetype k) const { return k < n_ ? static_cast<unsigned char>(s_[k]) : 0; }
  bool space() {
    while (i_ < n_ && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
    return i_ < n_;
  }

  bool value() {
    switch (s_[i_]) {
      case '{': return object();
      case '[': return array();
      case '"': return string();
      case 'n': return word("null");
      case 't': return word("true");
      case 'f': return word("false");
      case ',': return fail(i_, E::IllegalValue);
      case '}':
      case ']': return fail(i_, E::MissingObject);
      default: return number();
    }
  }

  bool word(std::string_view w) {
    // The reader wants one more character after the word, as a document never ends in one.
    if (n_ - i_ <= static_cast<qsizetype>(w.size()) || s_.mid(i_, w.size()) != QByteArray(w.data(), w.size()))
      return fail(i_, E::IllegalValue);
    i_ += static_cast<qsizetype>(w.size());
    return true;
  }

  // Past the bracket that opens an object or an array, to its first token.
  bool enter(E::ParseError unterminated) {
    if (++depth_ > kMaxDepth) return fail(i_, E::DeepNesting);
    ++i_;
    return space() || failAtEnd(unterminated);
  }
  // Past the bracket that closes it.
  bool leave() {
    ++i_;
    --depth_;
    return true;
  }

  bool object() {
    if (!enter(E::UnterminatedObject)) return false;
    if (s_[i_] != '}') {
      for (;;) {
        if (s_[i_] != '"') return fail(i_, E::UnterminatedObject);
        if (!string()) return false;
        if (!space()) return failAtEnd(E::MissingNameSeparator);
        if (s_[i_] != ':') return fail(i_, E::MissingNameSeparator);
        ++i_;
        if (!space()) return failAtEnd(E::UnterminatedObject);
        if (!value()) return false;
        if (!space()) return failAtEnd(E::UnterminatedObject);
        if (s_[i_] == '}') break;
        if (s_[i_] != ',') return fail(i_, E::UnterminatedObject);
        ++i_;
        if (!space()) return failAtEnd(E::UnterminatedObject);
        if (s_[i_] == '}') return fail(i_, E::MissingObject);
      }
    }
    return leave();
  }

  bool array() {
    if (!enter(E::UnterminatedArray)) return false;
    if (s_[i_] != ']') {
      for (;;) {
        if (!value()) return false;
        if (!space()) return failAtEnd(E::UnterminatedArray);
        if (s_[i_] == ']') break;
        if (s_[i_] != ',') {
          const qsizetype token = i_++;
          return fail(token, space() ? E::MissingValueSeparator : E::UnterminatedArray);
        }
        ++i_;
        if (!space()) return failAtEnd(E::UnterminatedArray);
      }
    }
    return leave();
  }

  // The reader takes the number's extent as [-](0|digits)[.digits][(e|E)[+|-]digits], each run of digits
  // possibly empty; the grammar wants a digit in each, and the value must be a finite double.
  bool number() {
    const qsizetype start = i_;
    auto digits = [&] {
      const qsizetype from = i_;
      while (at(i_) >= '0' && at(i_) <= '9') ++i_;
      return i_ > from;
    };
    if (at(i_) == '-') ++i_;
    bool ok = true;
    if (at(i_) == '0') ++i_;
    else ok = digits();
    if (at(i_) == '.') {
      ++i_;
      ok = digits() && ok;
    }
    if (at(i_) == 'e' || at(i_) == 'E') {
      ++i_;
      if (at(i_) == '+' || at(i_) == '-') ++i_;
      ok = digits() && ok;
    }
    if (i_ >= n_) return fail(start, E::TerminationByNumber);
    if (ok) s_.mid(start, i_ - start).toDouble(&ok);
    return ok || fail(start, E::IllegalNumber);
  }

  bool string() {
    const qsizetype open = i_++;
    while (i_ < n_) {
      const unsigned char c = at(i_);
      if (c == '"') {
        ++i_;
        return true;
      }
      if (c == '\\') {
        const qsizetype length = escapeLength(i_);
        if (length == 0) return fail(i_, E::IllegalEscapeSequence);
        i_ += length;
      } else if (c < 0x20) {
        return fail(i_, "управляющий знак в строке: его записывают через \\ (\\t, \\n)");
      } else if (c < 0x80) {
        ++i_;
      } else if (const int length = utf8Length(i_); length > 0) {
        i_ += length;
      } else {
        return fail(i_, E::IllegalUTF8String);
      }
    }
    return fail(open, E::UnterminatedString);
  }

  // The bytes of the escape sequence at `k` (\u and four hexadecimal digits, or \ and one of "\/bfnrt), or 0.
  qsizetype escapeLength(qsizetype k) const {
    if (at(k + 1) == 'u') {
      for (qsizetype j = k + 2; j < k + 6; ++j)
        if (!std::isxdigit(at(j))) return 0;
      return 6;
    }
    return at(k + 1) != 0 && std::string_view("\"\\/bfnrt").find(static_cast<char>(at(k + 1))) != std::string_view::npos
               ? 2
               : 0;
  }

  // The bytes of the well-formed UTF-8 character at `k` (no overlong form, no surrogate, up to U+10FFFF), or 0.
  int utf8Length(qsizetype k) const {
    const unsigned char b = at(k);
    if (b < 0xC2 || b > 0xF4) return 0;
    const int length = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    // The second byte's range shuts out the overlong forms, the surrogates and what lies beyond U+10FFFF.
    const unsigned char low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
    if (at(k + 1) < low || at(k + 1) > high) return 0;
    for (int j = 2; j < length; ++j)
      if ((at(k + j) & 0xC0) != 0x80) return 0;
    return length;
  }

  // The reader's limit of objects and arrays within each other.
  static constexpr int kMaxDepth = 1024;
};

// The line and column (both from 1, the column in characters) of the character at byte `offset` of a UTF-8
// text. A line ends in LF, CR or CR LF.
std::pair<int, int> LineAndColumn(const QByteArray& text, qsizetype offset) {
  offset = std::clamp<qsizetype>(offset, 0, text.size());
  while (offset > 0 && offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
    --offset;  // within a character: its first byte
  int line = 1, column = 1;
  for (qsizetype i = 0; i < offset; ++i) {
    const char c = text[i];
    if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++line;
      column = 1;
    } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++column;  // a continuation byte of UTF-8 is the same character, the CR of CR LF no character
    }
  }
  return {line, column};
}

QString JsonFaultAt(const QByteArray& json, qsizetype offset, const char* what) {
  const auto [line, column] = LineAndColumn(json, offset);
  return QStringLiteral("Ошибка во входном файле, строка %1, позиция %2: %3")
      .arg(line)
      .arg(column)
      .arg(QString::fromUtf8(what));
}

// The refusal of a text that is no JSON document, naming the first character of the faulty token. What the
// grammar takes and Qt's reader still refuses (a document too large for it) is named where the reader
// stopped: just past the character, or on the start of text after the document's end.
QString JsonFault(const QByteArray& json, const std::optional<JsonGrammar::Fault>& fault, const QJsonParseError& perr) {
  if (json.trimmed().isEmpty()) return QStringLiteral("Ошибка во входном файле: файл пуст");
  if (fault) return JsonFaultAt(json, fault->offset, fault->what);
  const qsizetype at = perr.error == QJsonParseError::GarbageAtEnd || perr.offset <= 0 ? perr.offset : perr.offset - 1;
  return JsonFaultAt(json, at, JsonFaultText(perr.error));
}

}  // namespace

QString FieldText(const QString& key, const QString& group) {
  return group.isEmpty() ? QStringLiteral("поле \"%1\"").arg(key)
                         : QStringLiteral("поле \"%1\" в \"%2\"").arg(key, group);
}

std::optional<QJsonObject> ReadJsonObject(const QByteArray& json, QString& error) {
  const auto fault = JsonGrammar(json).firstFault();
  QJsonParseError perr;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &perr);
  if (fault || perr.error != QJsonParseError::NoError) {
    error = JsonFault(json, fault, perr);
    return std::nullopt;
  }
  if (!doc.isObject()) {
    error = QStringLiteral("Ошибка во входном файле: ожидается объект JSON");
    return std::nullopt;
  }
  if (const auto repeated = RepeatedKey(json)) {
    const auto& [key, name] = *repeated;
    error =
        QStringLiteral("Ошибка во входном файле: ") + FieldText(key, name) + QStringLiteral(" задано несколько раз");
    return std::nullopt;
  }
  return doc.object();
}

}  // namespace velaron::run
