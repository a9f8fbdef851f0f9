#include "model/component.h"

#include <gtest/gtest.h>

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

TEST(Error, FormatFillsEachPlaceholderInOrder) {
  EXPECT_EQ(formatMessage("Error reading %s%s%s: %s", {"Ttree", ".", "Foo", "Property Foo does not exist"}),
            "Error reading Ttree.Foo: Property Foo does not exist");
  EXPECT_EQ(formatMessage("100%s", {}), "100%s");
}

}  // namespace
}  // namespace qm
