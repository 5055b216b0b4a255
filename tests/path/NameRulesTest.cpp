#include <gtest/gtest.h>

#include <string>

#include "path/NameRules.h"
#include "path/PathComponent.h"
#include "path/PathException.h"

namespace {

TEST(NameRules, ComponentNames) {
  const std::string accepted[] = {
      "C:", "1:", "*", "a?b", "x[1];y=2,z+3", ".", "..", "a b", std::string(260, 'n')};
  const std::string rejected[] = {
      "", std::string(261, 'n'), "a:b", ":a", "::", "C:x", "a/b", "a\\b", "a|b", "a<b", "a>b", "a\"b"};
  for (const std::string& name : accepted) EXPECT_TRUE(IsValidName(name.c_str())) << name;
  for (const std::string& name : rejected) EXPECT_FALSE(IsValidName(name.c_str())) << name;
  EXPECT_FALSE(IsValidName(nullptr));
}

TEST(NameRules, ComponentLengthCountsUtf16UnitsNotBytes) {
  auto repeated = [](const std::string& unit, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += unit;
    return text;
  };
  const std::string cjk = u8"\u6587";        // 3 bytes, one unit
  const std::string emoji = u8"\U0001F4C1";  // 4 bytes, a surrogate pair
  EXPECT_TRUE(IsValidName(repeated(cjk, 260).c_str()));
  EXPECT_FALSE(IsValidName(repeated(cjk, 261).c_str()));
  EXPECT_TRUE(IsValidName(repeated(emoji, 130).c_str()));
  EXPECT_FALSE(IsValidName((repeated(emoji, 130) + "x").c_str()));
  // Bytes outside UTF-8 (a Linux name in another encoding) count one unit each.
  EXPECT_TRUE(IsValidName(std::string(260, '\xff').c_str()));
  EXPECT_FALSE(IsValidName(std::string(261, '\xe6').c_str()));  // leads without continuations
  EXPECT_FALSE(IsValidName(std::string(261, '\x80').c_str()));  // stray continuations
  // The private-use form of a mapped ':' takes 3 bytes but one unit.
  EXPECT_TRUE(IsValidName(repeated(u8"\uF03A", 100).c_str()));
}

TEST(NameRules, ServerNames) {
  const std::string accepted[] = {"srv-1", "srv.1", "a b", std::string(64, 's')};
  const std::string rejected[] = {
      std::string(65, 's'), "srv*", "srv:1", "a,b", "a b[1]", "a;b", "a=b", "a+b"};
  for (const std::string& name : accepted) EXPECT_TRUE(IsValidServerName(name.c_str())) << name;
  for (const std::string& name : rejected) {
    CServerComponent server;
    EXPECT_THROW(server.SetName(CDynString(name.c_str(), AllocHeap)), CPathException) << name;
  }
}

TEST(NameRules, SetNameKeepsTheOldNameWhenRejected) {
  CPathComponent component("old");
  try {
    component.SetName("a/b");
    ADD_FAILURE() << "invalid name accepted";
  } catch (const CPathException& caught) {
    const CPathException copy(caught);
    EXPECT_EQ(copy.GetCode(), PATHERR_INVALID_NAME);
  }
  EXPECT_STREQ(component.GetName().GetText(), "old");
  component.SetName("");
  EXPECT_EQ(component.GetName().GetText(), nullptr);
}

}  // namespace
