#include "model/component.h"

#include <gtest/gtest.h>

#include "model/compact_text.h"
#include "model/error.h"
#include "model/tinfo.h"
#include "model/ttree.h"

namespace qm {
namespace {

TEST(Component, NamesAreUniqueIgnoringCaseButEmptyNamesRepeat) {
  Ttree tree;
  Tinfo* a = tree.createRecord();
  Tinfo* b = tree.createRecord();
  Tinfo* c = tree.createRecord();
  a->setName("ID0");
  EXPECT_THROW(b->setName("id0"), Error);
  try {
    b->setName("id0");
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "A component named id0 already exists");
  }
  EXPECT_EQ(b->name(), "");
  EXPECT_EQ(c->name(), "");  // any number of empty names
  b->setName("ID1");
  EXPECT_EQ(tree.findComponent("iD1"), b);
  EXPECT_EQ(tree.findComponent("ID0"), a);
  a->setName("");
  EXPECT_EQ(tree.findComponent("ID0"), nullptr);
  c->setName("id0");  // freed by the rename
  EXPECT_EQ(tree.findComponent("ID0"), c);
}

TEST(Component, RemovingKeepsOrderAndIndex) {
  Ttree tree;
  std::vector<Tinfo*> records;
  for (int i = 0; i < 100; ++i) {
    records.push_back(tree.createRecord());
    records.back()->setName("R" + std::to_string(i));
  }
  for (int i = 0; i < 100; i += 2) tree.deleteComponent(records[i]);
  EXPECT_EQ(tree.componentCount(), 50u);
  int expected = 1;
  for (Component* c = tree.firstComponent(); c != nullptr; c = c->nextSibling(), expected += 2)
    EXPECT_EQ(c->name(), "R" + std::to_string(expected));
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(tree.findComponent("r" + std::to_string(i)) != nullptr, i % 2 == 1) << i;
}

// Record numbers have a table of their own; other spellings of a number
// ("ID007") and numbers far beyond the count are names like any other.
TEST(Component, NumberedAndOtherNamesShareOneNamespace) {
  Ttree tree;
  Tinfo* seven = tree.createRecord();
  seven->setName("id7");
  Tinfo* padded = tree.createRecord();
  padded->setName("ID007");
  Tinfo* far = tree.createRecord();
  far->setName("ID4000000000");
  Tinfo* huge = tree.createRecord();
  huge->setName("ID99999999999999999999");
  EXPECT_EQ(tree.findComponent("ID7"), seven);
  EXPECT_EQ(tree.findComponent("Id007"), padded);
  EXPECT_EQ(tree.findComponent("ID4000000000"), far);
  EXPECT_EQ(tree.findComponent("id99999999999999999999"), huge);
  EXPECT_EQ(tree.findComponent("ID07"), nullptr);
  EXPECT_EQ(tree.findComponent("ID"), nullptr);
  EXPECT_THROW(tree.createRecord()->setName("ID4000000000"), Error);
  EXPECT_EQ(tree.namedComponentCount(), 4u);

  // A number first placed among the other names is still found once the
  // numbered table has grown past it, and can be given up.
  Tinfo* early = tree.createRecord();
  early->setName("ID5000");
  std::vector<Tinfo*> records;
  for (int i = 0; i < 6000; ++i) {
    if (i == 7 || i == 5000) continue;
    records.push_back(tree.createRecord());
    records.back()->setName("ID" + std::to_string(i));
  }
  EXPECT_EQ(tree.findComponent("id5000"), early);
  EXPECT_THROW(tree.createRecord()->setName("ID5000"), Error);
  early->setName("");
  EXPECT_EQ(tree.findComponent("ID5000"), nullptr);
  tree.createRecord()->setName("ID5000");
  for (Tinfo* r : records) tree.deleteComponent(r);
  EXPECT_EQ(tree.findComponent("ID3"), nullptr);
  EXPECT_EQ(tree.findComponent("ID7"), seven);
  EXPECT_EQ(tree.namedComponentCount(), 5u);
}

TEST(Component, LongNamesAndNamesTakenFromThemselves) {
  Ttree tree;
  Tinfo* r = tree.createRecord();
  std::string longName(200, 'a');
  longName += "Z";
  r->setName(longName);
  EXPECT_EQ(r->name(), longName);
  EXPECT_EQ(tree.findComponent(std::string(200, 'A') + "z"), r);
  r->setName(r->name().substr(180));  // 21 bytes, still outside
  EXPECT_EQ(r->name(), std::string(20, 'a') + "Z");
  r->setName(r->name().substr(10));  // 11 bytes, inside
  EXPECT_EQ(r->name(), std::string(10, 'a') + "Z");
  r->setName(r->name().substr(1));
  EXPECT_EQ(r->name(), std::string(9, 'a') + "Z");
  EXPECT_EQ(tree.findComponent(longName), nullptr);
  EXPECT_EQ(tree.findComponent("aaaaaaaaaZ"), r);
}

TEST(CompactText, HoldsAnyTextAndTakesPartsOfItself) {
  CompactText text;
  EXPECT_TRUE(text.empty());
  EXPECT_STREQ(text.data(), "");
  text = "first line\r\nsecond";
  EXPECT_EQ(text, "first line\r\nsecond");
  EXPECT_EQ(text.size(), 18u);
  text = text.view().substr(6, 4);  // shorter, from its own bytes
  EXPECT_EQ(text, std::string("line"));
  text = text.view().substr(0, 4);  // the same size
  EXPECT_EQ(text, std::string_view("line"));
  CompactText copy = text;
  text = std::string(300, 'x');
  EXPECT_EQ(copy, "line");
  EXPECT_EQ(std::string(text).size(), 300u);
  EXPECT_EQ("<" + copy + ">", "<line>");
  text = "";
  EXPECT_TRUE(text.empty());
  CompactText moved = std::move(copy);
  EXPECT_EQ(moved, "line");
  EXPECT_TRUE(copy.empty());  // NOLINT: a moved-from text is empty
}

TEST(Error, FormatFillsEachPlaceholderInOrder) {
  EXPECT_EQ(formatMessage("Error reading %s%s%s: %s", {"Ttree", ".", "Foo", "Property Foo does not exist"}),
            "Error reading Ttree.Foo: Property Foo does not exist");
  EXPECT_EQ(formatMessage("100%s", {}), "100%s");
}

}  // namespace
}  // namespace qm
