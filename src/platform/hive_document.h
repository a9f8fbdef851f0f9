#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

#include "platform/settings_store.h"

namespace qm::platform {

// The text of a registry export ("Windows Registry Editor Version 5.00"), as
// keys holding values whose right-hand sides are kept in their written form,
// so that values nobody touches are written back exactly as they were read.
struct HiveValue {
  QString name;     // empty for the key's default value ("@")
  QString encoded;  // e.g. "\"text\"", "dword:0000002a", "hex(2):41,00,00,00"
};

// Names and paths are found through an index by their case-folded form, as
// the registry compares them: a hive of a million values then reads in about
// a second, where a search through the list took minutes. A section's values
// are taken from the file's text and indexed when it is first searched, so a
// start that reads one small key of a large hive only checks the other keys'
// lines (600,000 values under another key: 5.6 s before, a tenth of a second).
struct HiveSection {
  explicit HiveSection(QString sectionPath) : path(std::move(sectionPath)) {}

  QString path;  // full path, e.g. "HKEY_CURRENT_USER\Software\zmx\QMK"

  // In file order, one per name (the last written of equal names counts).
  const QList<HiveValue>& values() const;
  HiveValue* findValue(const QString& name);
  const HiveValue* findValue(const QString& name) const;
  void setValue(const QString& name, const QString& encoded);
  // The reader's way in: a block of the file's lines [from, to) in `text`
  // that belong to this section, read when the section is first searched;
  // the index then settles equal names.
  void addReadBlock(const QString& text, qsizetype from, qsizetype to);

 private:
  void ensureIndex() const;

  mutable QString readText_;  // shared with the reader's other sections
  mutable QList<std::pair<qsizetype, qsizetype>> readBlocks_;
  mutable QList<HiveValue> values_;
  mutable QHash<QString, qsizetype> index_;  // position in values_, plus 1
  mutable bool indexed_ = true;
};

struct HiveDocument {
  QList<HiveSection> sections;  // in file order; added only through addSection
  // Set by the reader when something could not be understood (no header, a
  // stray line, an unreadable value); such parts are not carried over.
  bool damaged = false;

  HiveSection* findSection(const QString& path);
  const HiveSection* findSection(const QString& path) const;
  HiveSection& addSection(const QString& path);
  // The section, created with any missing parent sections when absent.
  HiveSection& ensureSection(const QString& path);

 private:
  QHash<QString, qsizetype> index_;
};

// Reads UTF-8 text, or UTF-16LE text that starts with its byte-order mark.
HiveDocument parseHive(const QByteArray& bytes);
QByteArray formatHive(const HiveDocument& document);

// A value's type and data from its written form; nullopt when malformed.
std::optional<StoredValue> decodeHiveValue(const QString& encoded);
// The written form of a text value: quoted, or hex(1) when it holds control
// characters that a quoted line cannot carry.
QString encodeHiveText(const QString& text);

}  // namespace qm::platform
