#include "platform/hive_document.h"

#include <QStringDecoder>
#include <algorithm>
#include <utility>

namespace qm::platform {
namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kOldHeader = QStringLiteral("REGEDIT4");

QString indexKey(const QString& name) { return name.toCaseFolded(); }

QString decodeText(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE")) {
    QStringDecoder decoder(QStringDecoder::Utf16LE);
    return decoder(bytes.mid(2));
  }
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  return QString::fromUtf8(bytes);
}

QString escapeQuoted(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  for (QChar c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  return out;
}

// Reads a quoted name or text starting at `pos` (on the opening quote).
// Returns the unescaped text and leaves `pos` after the closing quote.
std::optional<QString> readQuoted(QStringView line, qsizetype& pos) {
  if (pos >= line.size() || line[pos] != u'"') return std::nullopt;
  // Most names and texts hold no escape: taken whole.
  qsizetype end = pos + 1;
  while (end < line.size() && line[end] != u'"' && line[end] != u'\\') ++end;
  if (end < line.size() && line[end] == u'"') {
    QString whole = line.mid(pos + 1, end - pos - 1).toString();
    pos = end + 1;
    return whole;
  }
  QString out;
  for (++pos; pos < line.size(); ++pos) {
    QChar c = line[pos];
    if (c == u'"') {
      ++pos;
      return out;
    }
    if (c == u'\\' && pos + 1 < line.size()) c = line[++pos];
    out += c;
  }
  return std::nullopt;
}

std::optional<QByteArray> decodeHexBytes(QString list) {
  list.remove(u' ').remove(u'\t');
  QByteArray bytes;
  if (list.isEmpty()) return bytes;
  for (const QString& token : list.split(u',')) {
    bool ok = false;
    uint value = token.toUInt(&ok, 16);
    if (!ok || token.size() > 2) return std::nullopt;
    bytes.append(static_cast<char>(value));
  }
  return bytes;
}

bool isTextType(uint32_t type) {
  return type == value_type::kText || type == value_type::kExpandableText || type == value_type::kMultiText;
}

// Text types are stored as UTF-16LE in an export; the program reads them in
// its own code page.
QByteArray utf16ToProgramText(const QByteArray& utf16) {
  QStringDecoder decoder(QStringDecoder::Utf16LE);
  QString text = decoder(utf16.left(utf16.size() & ~qsizetype(1)));
  return text.toUtf8();
}

std::optional<StoredValue> decodeHex(const QString& encoded) {
  qsizetype colon = encoded.indexOf(u':');
  QString kind = encoded.left(colon);
  uint32_t type = value_type::kBinary;
  if (kind != u"hex") {
    if (!kind.startsWith(u"hex(") || !kind.endsWith(u')')) return std::nullopt;
    bool ok = false;
    type = kind.mid(4, kind.size() - 5).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
  }
  std::optional<QByteArray> bytes = decodeHexBytes(encoded.mid(colon + 1));
  if (!bytes) return std::nullopt;
  if (isTextType(type)) *bytes = utf16ToProgramText(*bytes);
  return StoredValue{type, *bytes};
}

std::optional<StoredValue> decodeDword(const QString& digits) {
  bool ok = false;
  uint value = digits.toUInt(&ok, 16);
  if (!ok || digits.size() > 8) return std::nullopt;
  QByteArray bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return StoredValue{value_type::kDword, bytes};
}

QString hexList(const QByteArray& bytes) {
  QStringList parts;
  parts.reserve(bytes.size());
  for (char b : bytes) parts << QString::asprintf("%02x", static_cast<unsigned char>(b));
  return parts.join(u',');
}

// Whether a written value can be decoded; a quoted text is checked without
// being copied, as the reader meets hundreds of thousands of them.
bool isReadableValue(QStringView encoded) {
  if (!encoded.startsWith(u'"')) return decodeHiveValue(encoded.toString()).has_value();
  qsizetype pos = 1;
  while (pos < encoded.size() && encoded[pos] != u'"') pos += encoded[pos] == u'\\' ? 2 : 1;
  return pos == encoded.size() - 1;
}

struct Parser {
  HiveDocument document;
  HiveSection* current = nullptr;

  void parseSection(QStringView line) {
    QString path = line.mid(1, line.size() - 2).toString();
    if (path.isEmpty() || path.startsWith(u'-')) {  // deletion entries belong to imports, not hives
      document.damaged = true;
      current = nullptr;
      return;
    }
    current = document.findSection(path);
    if (current == nullptr) current = &document.addSection(path);
  }

  void parseValue(QStringView line) {
    qsizetype pos = 0;
    QString name;
    if (line.startsWith(u'@')) {
      pos = 1;
    } else {
      std::optional<QString> quoted = readQuoted(line, pos);
      if (!quoted || quoted->isEmpty()) return markDamaged();
      name = *quoted;
    }
    if (pos >= line.size() || line[pos] != u'=') return markDamaged();
    QStringView encoded = line.mid(pos + 1).trimmed();
    if (current == nullptr || !isReadableValue(encoded)) return markDamaged();
    current->appendRead(HiveValue{std::move(name), encoded.toString()});
  }

  void markDamaged() { document.damaged = true; }
};

}  // namespace

const QList<HiveValue>& HiveSection::values() const {
  ensureIndex();
  return values_;
}

HiveValue* HiveSection::findValue(const QString& name) {
  ensureIndex();
  auto found = index_.constFind(indexKey(name));
  return found == index_.cend() ? nullptr : &values_[*found - 1];
}

const HiveValue* HiveSection::findValue(const QString& name) const {
  ensureIndex();
  auto found = index_.constFind(indexKey(name));
  return found == index_.cend() ? nullptr : &values_.at(*found - 1);
}

void HiveSection::setValue(const QString& name, const QString& encoded) {
  ensureIndex();
  qsizetype& position = index_[indexKey(name)];  // one look-up; 0 when new
  if (position > 0) {
    values_[position - 1].encoded = encoded;
    return;
  }
  values_.append(HiveValue{name, encoded});
  position = values_.size();
}

void HiveSection::appendRead(HiveValue value) {
  values_.append(std::move(value));
  indexed_ = false;
}

void HiveSection::ensureIndex() const {
  if (indexed_) return;
  QList<HiveValue> read = std::exchange(values_, {});
  index_.clear();
  index_.reserve(read.size());
  for (HiveValue& value : read) {
    qsizetype& position = index_[indexKey(value.name)];
    if (position > 0) {
      values_[position - 1].encoded = std::move(value.encoded);
      continue;
    }
    values_.append(std::move(value));
    position = values_.size();
  }
  indexed_ = true;
}

HiveSection* HiveDocument::findSection(const QString& path) {
  auto found = index_.constFind(indexKey(path));
  return found == index_.cend() ? nullptr : &sections[*found];
}

const HiveSection* HiveDocument::findSection(const QString& path) const {
  auto found = index_.constFind(indexKey(path));
  return found == index_.cend() ? nullptr : &sections.at(*found);
}

HiveSection& HiveDocument::addSection(const QString& path) {
  index_.insert(indexKey(path), sections.size());
  sections.append(HiveSection(path));
  return sections.last();
}

HiveSection& HiveDocument::ensureSection(const QString& path) {
  QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
  QString prefix;
  HiveSection* section = nullptr;
  for (const QString& part : parts) {
    prefix = prefix.isEmpty() ? part : prefix + u'\\' + part;
    section = findSection(prefix);
    bool isHiveRoot = !prefix.contains(u'\\') && prefix.size() < path.size();
    if (section == nullptr && !isHiveRoot)
      section = &addSection(prefix);  // a hive root gets no section of its own
  }
  return *section;
}

HiveDocument parseHive(const QByteArray& bytes) {
  const QString text = decodeText(bytes);
  // Lines are views into the text: a hive of a million values is not copied
  // line by line first.
  qsizetype next = 0;
  auto nextLine = [&] {
    qsizetype end = text.indexOf(u'\n', next);
    if (end < 0) end = text.size();
    QStringView line = QStringView(text).mid(next, end - next).trimmed();
    next = end + 1;
    return line;
  };
  Parser parser;
  bool headerSeen = false;
  QString joined;
  while (next <= text.size()) {
    QStringView line = nextLine();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    if (!headerSeen) {
      headerSeen = true;
      if (line == kHeader || line == kOldHeader) continue;
      parser.markDamaged();
    }
    // Long hex data goes on over lines ending in a backslash (appended in
    // place: a long value's lines would otherwise be copied over and over).
    if (line.endsWith(u'\\') && line.contains(u"=hex")) {
      joined = line.toString();
      while (joined.endsWith(u'\\') && next <= text.size()) {
        joined.chop(1);
        joined += nextLine();
      }
      line = joined;
    }
    if (line.startsWith(u'[') && line.endsWith(u']'))
      parser.parseSection(line);
    else if (line.startsWith(u'"') || line.startsWith(u'@'))
      parser.parseValue(line);
    else
      parser.markDamaged();
  }
  if (!headerSeen && !bytes.isEmpty()) parser.markDamaged();
  return parser.document;
}

QByteArray formatHive(const HiveDocument& document) {
  QString out = kHeader + QLatin1Char('\n');
  for (const HiveSection& section : document.sections) {
    out += QStringLiteral("\n[") + section.path + QStringLiteral("]\n");
    for (const HiveValue& value : section.values()) {
      out += value.name.isEmpty() ? QStringLiteral("@") : u'"' + escapeQuoted(value.name) + u'"';
      out += u'=' + value.encoded + u'\n';
    }
  }
  return out.toUtf8();
}

std::optional<StoredValue> decodeHiveValue(const QString& encoded) {
  if (encoded.startsWith(u'"')) {
    qsizetype pos = 0;
    std::optional<QString> text = readQuoted(encoded, pos);
    if (!text || pos != encoded.size()) return std::nullopt;
    return StoredValue{value_type::kText, text->toUtf8() + QByteArray(1, '\0')};
  }
  if (encoded.startsWith(u"dword:")) return decodeDword(encoded.mid(6));
  if (encoded.startsWith(u"hex")) return decodeHex(encoded);
  return std::nullopt;
}

QString encodeHiveText(const QString& text) {
  bool plain = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20; });
  if (plain) return u'"' + escapeQuoted(text) + u'"';
  QByteArray utf16;
  utf16.reserve(text.size() * 2 + 2);
  for (QChar c : text)
    utf16.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
  utf16.append(2, '\0');
  return QStringLiteral("hex(1):") + hexList(utf16);
}

}  // namespace qm::platform
