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

// Where the quoted text starting at `pos` ends (after its closing quote), or
// -1; read as readQuoted reads it, without copying.
qsizetype quotedEnd(QStringView line, qsizetype pos) {
  if (pos >= line.size() || line[pos] != u'"') return -1;
  for (++pos; pos < line.size() && line[pos] != u'"';) pos += line[pos] == u'\\' ? 2 : 1;
  return pos < line.size() ? pos + 1 : -1;
}

// Whether a written value can be decoded; a quoted text is checked without
// being copied, as the reader meets hundreds of thousands of them.
bool isReadableValue(QStringView encoded) {
  if (!encoded.startsWith(u'"')) return decodeHiveValue(encoded.toString()).has_value();
  return quotedEnd(encoded, 0) == encoded.size();
}

// A value line split into its quoted name (empty for the default value "@")
// and its written value; nullopt when it cannot be read.
struct ValueLine {
  QStringView quotedName;
  QStringView encoded;
};

std::optional<ValueLine> splitValueLine(QStringView line) {
  qsizetype pos = 1;
  QStringView quotedName;
  if (!line.startsWith(u'@')) {
    pos = quotedEnd(line, 0);
    if (pos <= 2) return std::nullopt;  // not quoted, or an empty name
    quotedName = line.first(pos);
  }
  if (pos >= line.size() || line[pos] != u'=') return std::nullopt;
  QStringView encoded = line.mid(pos + 1).trimmed();
  if (!isReadableValue(encoded)) return std::nullopt;
  return ValueLine{quotedName, encoded};
}

bool isSectionLine(QStringView line) { return line.startsWith(u'[') && line.endsWith(u']'); }
bool isValueLine(QStringView line) { return line.startsWith(u'"') || line.startsWith(u'@'); }

// The text's lines, trimmed, without blank lines and comments; long hex data
// that goes on over lines ending in a backslash comes as one line (appended
// in place: a long value's lines would otherwise be copied over and over).
// Lines are views into the text: a hive of a million values is not copied
// line by line first.
class LogicalLines {
 public:
  explicit LogicalLines(QStringView text) : text_(text) {}

  bool next(QStringView& line) {
    do {
      if (next_ > text_.size()) return false;
      start_ = next_;
      line = physicalLine();
    } while (line.isEmpty() || line.startsWith(u';'));
    if (line.endsWith(u'\\') && line.contains(u"=hex")) {
      joined_ = line.toString();
      while (joined_.endsWith(u'\\') && next_ <= text_.size()) {
        joined_.chop(1);
        joined_ += physicalLine();
      }
      line = joined_;
    }
    return true;
  }
  // Where the last line returned starts in the text, and where the next
  // one starts.
  qsizetype start() const { return start_; }
  qsizetype end() const { return std::min(next_, text_.size()); }

 private:
  QStringView physicalLine() {
    qsizetype end = text_.indexOf(u'\n', next_);
    if (end < 0) end = text_.size();
    QStringView line = text_.mid(next_, end - next_).trimmed();
    next_ = end + 1;
    return line;
  }

  QStringView text_;
  qsizetype next_ = 0;
  qsizetype start_ = 0;
  QString joined_;
};

// The first pass: sections and their blocks of lines, every line checked;
// values are taken from a block when its section is first searched.
struct Parser {
  HiveDocument document;
  QString text;
  HiveSection* current = nullptr;
  qsizetype blockStart = 0;

  void endBlock(qsizetype end) {
    if (current != nullptr) current->addReadBlock(text, blockStart, end);
    current = nullptr;
  }

  void parseSection(QStringView line, qsizetype start, qsizetype end) {
    endBlock(start);
    QString path = line.mid(1, line.size() - 2).toString();
    if (path.isEmpty() || path.startsWith(u'-')) {  // deletion entries belong to imports, not hives
      document.damaged = true;
      return;
    }
    current = document.findSection(path);
    if (current == nullptr) current = &document.addSection(path);
    blockStart = end;
  }

  void parseValue(QStringView line) {
    if (current == nullptr || !splitValueLine(line)) markDamaged();
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

void HiveSection::addReadBlock(const QString& text, qsizetype from, qsizetype to) {
  readText_ = text;
  readBlocks_.append({from, to});
  indexed_ = false;
}

void HiveSection::ensureIndex() const {
  if (indexed_) return;
  QList<HiveValue> read = std::exchange(values_, {});
  for (auto [from, to] : std::exchange(readBlocks_, {})) {
    LogicalLines lines(QStringView(readText_).mid(from, to - from));
    for (QStringView line; lines.next(line);) {
      std::optional<ValueLine> value = isValueLine(line) ? splitValueLine(line) : std::nullopt;
      if (!value) continue;  // the first pass found it damaged
      qsizetype end = 0;
      QString name = value->quotedName.isEmpty() ? QString() : *readQuoted(value->quotedName, end);
      read.append(HiveValue{std::move(name), value->encoded.toString()});
    }
  }
  readText_.clear();
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
  Parser parser;
  parser.text = decodeText(bytes);
  LogicalLines lines(parser.text);
  bool headerSeen = false;
  for (QStringView line; lines.next(line);) {
    if (!headerSeen) {
      headerSeen = true;
      if (line == kHeader || line == kOldHeader) continue;
      parser.markDamaged();
    }
    if (isSectionLine(line))
      parser.parseSection(line, lines.start(), lines.end());
    else if (isValueLine(line))
      parser.parseValue(line);
    else
      parser.markDamaged();
  }
  parser.endBlock(parser.text.size());
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
