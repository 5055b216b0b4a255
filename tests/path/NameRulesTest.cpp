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
