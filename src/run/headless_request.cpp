#include "run/headless_request.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "common/qt_text.h"
#include "common/texts.h"
#include "result/crossings.h"
#include "result/scenarios.h"
#include "run/input_checks.h"

namespace velaron::run {

namespace {

using H = HeadlessRequest;

// Where a field's value goes; the type is the field's kind (a whole number, a number, a text, true/false,
// a scenario code).
using Member = std::variant<int& (*)(H&), double& (*)(H&), QString& (*)(H&), bool& (*)(H&),
                            std::optional<result::Scenario>& (*)(H&)>;

// Whether a field must be given, judged on the values of its group read so far. Every input that feeds the
// numbers must be in the file: a field left out would otherwise run with a built-in default the user never
// chose (a section of length 0 has no risk at all).
using Needed = bool (*)(const H&);

bool Always(const H&) { return true; }
bool SectionInline(const H& h) { return h.sectionInline; }
bool RegionWay(const H& h) { return h.request.rate.way == 1 || h.request.rate.way == 2; }
bool PerKmWay(const H& h) { return h.request.rate.way == 2; }
bool TypedWay(const H& h) { return h.request.rate.way == 3; }
// The single jet fires burn in the chosen weather; the assessments over a year in the town's.
bool SingleJet(const H& h) { return h.scenario && result::FactsOf(*h.scenario).singleJet; }
bool YearRound(const H& h) { return h.scenario && result::FactsOf(*h.scenario).yearRound; }

struct Field {
  const char* group;  // "shares" lies within "run"; every other group at the top of the file
  const char* name;
  Member member;
  Needed needed = nullptr;  // nullptr: may be left out
};

// Every field of the driver's input, group by group in the order they are read.
const Field kFields[] = {
    {"settings", "XLimit", [](H& h) -> int& { return h.request.settings.XLimit; }, Always},
    {"settings", "YLimit", [](H& h) -> int& { return h.request.settings.YLimit; }, Always},
    {"settings", "CStep", [](H& h) -> int& { return h.request.settings.CStep; }, Always},
    {"settings", "Skor_chel", [](H& h) -> double& { return h.request.settings.Skor_chel; }, Always},
    {"settings", "Tfb", [](H& h) -> double& { return h.request.settings.Tfb; }, Always},
    {"settings", "Dola", [](H& h) -> double& { return h.request.settings.Dola; }, Always},
    {"settings", "Tobl", [](H& h) -> double& { return h.request.settings.Tobl; }, Always},
    {"settings", "Dola_obl", [](H& h) -> double& { return h.request.settings.Dola_obl; }, Always},
    {"pipeline", "Gas", [](H& h) -> int& { return h.request.pipeline.Gas; }, Always},
    {"pipeline", "Diametr", [](H& h) -> double& { return h.request.pipeline.Diametr; }, Always},
    {"pipeline", "DavlDown", [](H& h) -> double& { return h.request.pipeline.DavlDown; }, Always},
    {"pipeline", "DavlUp", [](H& h) -> double& { return h.request.pipeline.DavlUp; }, Always},
    {"pipeline", "Temp", [](H& h) -> double& { return h.request.pipeline.Temp; }, Always},
    {"pipeline", "Glubina", [](H& h) -> double& { return h.request.pipeline.Glubina; }, Always},
    {"pipeline", "Ltrub", [](H& h) -> double& { return h.request.pipeline.Ltrub; }, Always},
    {"pipeline", "Lkr", [](H& h) -> double& { return h.request.pipeline.Lkr; }},
    {"pipeline", "Tsrab", [](H& h) -> double& { return h.request.pipeline.Tsrab; }},
    {"pipeline", "InversPercent", [](H& h) -> double& { return h.request.pipeline.InversPercent; }, Always},
    {"rate", "way", [](H& h) -> int& { return h.request.rate.way; }, Always},
    {"rate", "RegionPos", [](H& h) -> int& { return h.request.rate.RegionPos; }, RegionWay},
    {"rate", "Text8", [](H& h) -> double& { return h.request.rate.Text8; }, PerKmWay},
    {"rate", "alfa_tr", [](H& h) -> double& { return h.request.rate.alfa_tr; }, TypedWay},
    // A ticked external factor counts with its own probability, which must then be given.
    {"external", "Check5", [](H& h) -> int& { return h.request.external.Check5; }},
    {"external", "Check6", [](H& h) -> int& { return h.request.external.Check6; }},
    {"external", "Check7", [](H& h) -> int& { return h.request.external.Check7; }},
    {"external", "Check8", [](H& h) -> int& { return h.request.external.Check8; }},
    {"external", "Eroz", [](H& h) -> double& { return h.request.external.Eroz; },
     [](const H& h) { return h.request.external.Check5 != 0; }},
    {"external", "Stih", [](H& h) -> double& { return h.request.external.Stih; },
     [](const H& h) { return h.request.external.Check6 != 0; }},
    {"external", "Zapor", [](H& h) -> double& { return h.request.external.Zapor; },
     [](const H& h) { return h.request.external.Check7 != 0; }},
    {"external", "Rechper", [](H& h) -> double& { return h.request.external.Rechper; },
     [](const H& h) { return h.request.external.Check8 != 0; }},
    // Only the TPID: the row is read from the database; anything more: the whole row is in the file.
    {"section", "TPID", [](H& h) -> int& { return h.request.section.TPID; }, SectionInline},
    {"section", "Length", [](H& h) -> double& { return h.request.section.Length; }, SectionInline},
    {"section", "Udal", [](H& h) -> double& { return h.request.section.Udal; }, SectionInline},
    {"section", "Azimut", [](H& h) -> double& { return h.request.section.Azimut; }, SectionInline},
    {"section", "dpp1", [](H& h) -> int& { return h.request.section.dpp1; }},
    {"section", "dpp2", [](H& h) -> int& { return h.request.section.dpp2; }},
    {"section", "dpp3", [](H& h) -> int& { return h.request.section.dpp3; }},
    {"section", "dpp4", [](H& h) -> int& { return h.request.section.dpp4; }},
    {"section", "p_v", [](H& h) -> double& { return h.request.section.p_v; }, SectionInline},
    {"section", "G1", [](H& h) -> int& { return h.request.section.G1; }},
    {"section", "G2", [](H& h) -> int& { return h.request.section.G2; }},
    {"section", "G3", [](H& h) -> int& { return h.request.section.G3; }},
    {"section", "G4", [](H& h) -> int& { return h.request.section.G4; }},
    {"section", "Ground", [](H& h) -> QString& { return h.request.section.Ground; }, SectionInline},
    {"run", "ScenarioCode", [](H& h) -> std::optional<result::Scenario>& { return h.scenario; }, Always},
    {"run", "season", [](H& h) -> int& { return h.request.run.season; }, SingleJet},
    {"run", "WindSpeed", [](H& h) -> double& { return h.request.run.WindSpeed; }, SingleJet},
    {"run", "WindDir", [](H& h) -> double& { return h.request.run.WindDir; }, SingleJet},
    {"run", "idCity", [](H& h) -> int& { return h.request.run.idCity; }, YearRound},
    // The jet-kind shares: all six or none (then the section's ground row gives them).
    {"shares", "Pkw", [](H& h) -> double& { return h.request.run.shares->Pkw; }, Always},
    {"shares", "Psw", [](H& h) -> double& { return h.request.run.shares->Psw; }, Always},
    {"shares", "Paw", [](H& h) -> double& { return h.request.run.shares->Paw; }, Always},
    {"shares", "Pks", [](H& h) -> double& { return h.request.run.shares->Pks; }, Always},
    {"shares", "Pss", [](H& h) -> double& { return h.request.run.shares->Pss; }, Always},
    {"shares", "Pas", [](H& h) -> double& { return h.request.run.shares->Pas; }, Always},
    // The texts and the report options of the documents a run writes.
    {"texts", "Mestn", [](H& h) -> QString& { return h.request.texts.Mestn; }},
    {"texts", "ScenarioName", [](H& h) -> QString& { return h.request.texts.ScenarioName; }},
    {"options", "Opt3D", [](H& h) -> bool& { return h.request.options.Opt3D; }},
    {"options", "OptExtraFiles", [](H& h) -> bool& { return h.request.options.OptExtraFiles; }},
};

// The groups of the file: those that must be there say so when they are not.
struct Group {
  const char* name;
  const char* missing = nullptr;  // the refusal when the group is left out; nullptr: may be left out
};
const Group kGroups[] = {
    {"settings"},  // absent: the database's first `Adjustment` row
    {"pipeline", "не заданы данные газопровода (\"pipeline\")"},
    {"rate", "не задан способ расчета частоты аварий (\"rate\")"},
    {"external"},
    {"section", "не задан участок (\"section\")"},
    {"run", "не задан сценарий (\"run\")"},
    {"texts"},
    {"options"},
};

// A field whose value is refused: by its key, and a setting also by the settings window's caption.
QString ValueField(const QString& key, const QString& group) {
  const char* caption = group == QLatin1String("settings") ? SettingCaption(key) : nullptr;
  return caption ? QStringLiteral("поле \"%1\" (\"%2\")").arg(key, FieldName(caption))
                 : QStringLiteral("поле \"%1\"").arg(key);
}

// A value of the file as a refusal shows it: a number with the decimal comma, anything else as it is written
// in JSON (a long array or object cut short).
QString GivenText(const QJsonValue& v) {
  if (v.isDouble()) return RefusedText(v.toDouble());
  QByteArray json = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
  QString text = QString::fromUtf8(json.mid(1, json.size() - 2));
  constexpr int kLongest = 60;
  if (text.size() > kLongest) text = text.left(kLongest) + QStringLiteral("…");
  return text;
}

QString FieldText(const QString& key, const QString& group) {
  return group.isEmpty() ? QStringLiteral("поле \"%1\"").arg(key)
                         : QStringLiteral("поле \"%1\" в \"%2\"").arg(key, group);
}

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

struct Reader {
  QString error;
  QString group;  // the group being read

  void fail(const QString& what) {
    if (error.isEmpty()) error = QStringLiteral("Ошибка во входном файле: ") + what;
  }
  // The value of `key` when it is given (absent or null: nothing, and no fault); a value of another kind
  // than `type` is refused, saying what it must be.
  std::optional<QJsonValue> given(const QJsonObject& o, const char* key, QJsonValue::Type type, const char* mustBe) {
    const auto v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return std::nullopt;
    if (v.type() != type) {
      fail(QStringLiteral("%1 должно быть %2, а задано %3")
               .arg(ValueField(QLatin1String(key), group), QString::fromUtf8(mustBe), GivenText(v)));
      return std::nullopt;
    }
    return v;
  }
  void read(const QJsonObject& o, const char* key, double& out) {
    if (const auto v = given(o, key, QJsonValue::Double, "числом")) out = v->toDouble();
  }
  void read(const QJsonObject& o, const char* key, int& out) {
    const auto v = given(o, key, QJsonValue::Double, "числом");
    if (!v) return;
    const double d = v->toDouble();
    if (d != std::floor(d) || std::fabs(d) > 2147483647.0)
      // With the digits that tell it from the whole number next to it.
      fail(QStringLiteral("%1 должно быть целым числом, а задано %2")
               .arg(ValueField(QLatin1String(key), group), RefusedText(d, std::nearbyint(d))));
    else out = static_cast<int>(d);
  }
  void read(const QJsonObject& o, const char* key, QString& out) {
    if (const auto v = given(o, key, QJsonValue::String, "строкой")) out = v->toString();
  }
  void read(const QJsonObject& o, const char* key, bool& out) {
    if (const auto v = given(o, key, QJsonValue::Bool, "true или false")) out = v->toBool();
  }
  // A scenario code as the scenario; a whole number outside 1..8 gives nothing, which the run refuses.
  void read(const QJsonObject& o, const char* key, std::optional<result::Scenario>& out) {
    read(o, key, scenarioCode);
    out = result::ScenarioOf(scenarioCode);
  }
  int scenarioCode = 0;
  // A key the driver does not know is refused: a misspelt one would otherwise be dropped in silence, and
  // its input would run with a value the user never chose.
  void known(const QJsonObject& o, const QString& group) {
    for (auto it = o.begin(); it != o.end(); ++it) {
      bool found = false;
      if (group.isEmpty()) {
        for (const Group& g : kGroups) found = found || it.key() == QLatin1String(g.name);
      } else {
        for (const Field& f : kFields)
          found = found || (group == QLatin1String(f.group) && it.key() == QLatin1String(f.name));
        found = found || (group == QLatin1String("run") && it.key() == QLatin1String("shares"));
      }
      if (!found) fail(QStringLiteral("неизвестное ") + FieldText(it.key(), group));
    }
  }
  // The group's fields from `o` into `h`, then the refusal of those it needs and lacks.
  void fields(const QJsonObject& o, const char* group, H& h) {
    this->group = QLatin1String(group);
    known(o, this->group);
    for (const Field& f : kFields)
      if (QLatin1String(f.group) == QLatin1String(group))
        std::visit([&](auto at) { read(o, f.name, at(h)); }, f.member);
    for (const Field& f : kFields) {
      if (QLatin1String(f.group) != QLatin1String(group) || !f.needed || !f.needed(h)) continue;
      const auto v = o.value(QLatin1String(f.name));
      if (v.isUndefined() || v.isNull())
        fail(QStringLiteral("не задано ") + FieldText(QLatin1String(f.name), QLatin1String(group)));
    }
  }
  // The group `name` of `parent` when it is given as an object.
  std::optional<QJsonObject> object(const QJsonObject& parent, const char* name) {
    const auto v = given(parent, name, QJsonValue::Object, "объектом");
    return v ? std::optional(v->toObject()) : std::nullopt;
  }
};

}  // namespace

std::optional<HeadlessRequest> ParseHeadlessRequest(const QByteArray& json, QString& error) {
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
    error = QStringLiteral("Ошибка во входном файле: ") + FieldText(repeated->first, repeated->second) +
            QStringLiteral(" задано несколько раз");
    return std::nullopt;
  }
  const QJsonObject root = doc.object();
  HeadlessRequest h;
  result::RunRequest& r = h.request;
  Reader rd;
  rd.known(root, {});
  for (const Group& g : kGroups) {
    rd.group = QString();
    const auto o = rd.object(root, g.name);
    if (!o) {
      if (g.missing) rd.fail(QString::fromUtf8(g.missing));
      continue;
    }
    const QLatin1String name(g.name);
    if (name == QLatin1String("settings")) h.settingsGiven = true;
    if (name == QLatin1String("section")) h.sectionInline = o->size() > 1 || !o->contains(QStringLiteral("TPID"));
    if (name == QLatin1String("run")) r.run.WindSpeed = 0;  // the fresh dialog's wind, for the scenarios without it
    rd.fields(*o, g.name, h);
    if (name == QLatin1String("rate") && (r.rate.way < 1 || r.rate.way > 3))
      rd.fail(QStringLiteral("\"way\" должно быть 1, 2 или 3, а задано %1").arg(r.rate.way));
    if (name == QLatin1String("external")) {
      const std::pair<const char*, int> checks[] = {{"Check5", r.external.Check5},
                                                    {"Check6", r.external.Check6},
                                                    {"Check7", r.external.Check7},
                                                    {"Check8", r.external.Check8}};
      for (const auto& [key, c] : checks)
        if (c != 0 && c != 1)
          rd.fail(FieldText(QLatin1String(key), name) + QStringLiteral(" должно быть 0 или 1, а задано %1").arg(c));
    }
    if (name == QLatin1String("section")) {
      // The crossing flags are ticks: any other number would print a crossing the section may not have.
      for (int i = 0; i < result::kCrossingCount; ++i)
        if (const int flag = result::CrossingFlag(r.section, i); flag != 0 && flag != 1)
          rd.fail(FieldText(QStringLiteral("dpp%1").arg(i + 1), name) +
                  QStringLiteral(" должно быть 0 или 1, а задано %1").arg(flag));
    }
    if (name == QLatin1String("run")) {
      if (h.scenario) r.run.scenario = *h.scenario;
      if (r.run.season != 0 && r.run.season != 1)
        rd.fail(QStringLiteral("\"season\" должно быть 0 или 1, а задано %1").arg(r.run.season));
      rd.group = name;
      if (const auto shares = rd.object(*o, "shares")) {
        r.run.shares.emplace();
        rd.fields(*shares, "shares", h);
      }
    }
  }
  if (!rd.error.isEmpty()) {
    error = rd.error;
    return std::nullopt;
  }
  h.scenarioCode = rd.scenarioCode;
  return h;
}

}  // namespace velaron::run
