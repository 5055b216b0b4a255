#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "path/Path.h"

namespace {

std::string TextOf(const CDynString& s) { return s.GetText() ? s.GetText() : ""; }

CPath Parsed(const std::string& text) {
  CPath path;
  path.Parse(CDynString(text.c_str(), AllocHeap));
  return path;
}

// The four flags as "UDRL" letters, '-' where a flag is off.
std::string FlagsOf(const CPath& path) {
  return {path.IsUnc() ? 'U' : '-', path.HasDrive() ? 'D' : '-', path.IsRooted() ? 'R' : '-',
          path.IsRelative() ? 'L' : '-'};
}

TEST(PathParse, FlagsAndComponents) {
  struct Case {
    std::string text, flags;
    std::vector<std::string> components;
  };
  const Case cases[] = {
      {"C:\\Windows\\System32", "-DR-", {"C:", "Windows", "System32"}},
      {"C:\\", "-DR-", {"C:"}},
      {"C:", "-D-L", {"C:"}},
      {"\\\\srv\\share\\dir", "U-R-", {"srv", "share", "dir"}},
      {"\\Windows", "--RL", {"Windows"}},
      {"a\\b", "---L", {"a", "b"}},
      {"", "----", {}},
      {"C:\\Windows\\", "-DR-", {"C:", "Windows"}},
      {"\\\\\\\\srv\\x", "U-R-", {"srv", "x"}},
      {"a\\.\\..\\b", "---L", {"a", ".", "..", "b"}},
      {"C:\\*", "-DR-", {"C:", "*"}},
  };
  for (const Case& c : cases) {
    const CPath path = Parsed(c.text);
    EXPECT_EQ(FlagsOf(path), c.flags) << c.text;
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < path.GetCount(); ++i)
      names.push_back(TextOf(path.GetComponent(i).GetName()));
    EXPECT_EQ(names, c.components) << c.text;
  }
  EXPECT_EQ(TextOf(Parsed("C:\\Windows").GetLast().GetName()), "Windows");
  EXPECT_TRUE(CPath().GetLast().IsEmpty());
}

TEST(PathParse, BadTextThrowsAndLeavesThePathEmpty) {
  const std::string texts[] = {"C:\\Windows\\\\",
                               "a\\\\b",
                               "\\",
                               "\\\\",
                               "C:Windows",
                               "a/b",
                               "\\\\srv*\\share",
                               "a\\" + std::string(261, 'n')};
  for (const std::string& text : texts) {
    CPath path = Parsed("\\\\old\\share");
    try {
      path.Parse(CDynString(text.c_str(), AllocHeap));
      ADD_FAILURE() << "accepted " << text;
    } catch (const CPathException& e) {
      EXPECT_EQ(e.GetCode(), PATHERR_INVALID_NAME) << text;
    }
    EXPECT_EQ(path.GetCount(), 0u) << text;
    EXPECT_EQ(FlagsOf(path), "----") << text;
  }
  EXPECT_EQ(Parsed("a\\" + std::string(260, 'n')).GetCount(), 2u);
}

TEST(PathParse, ToString) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\", "C:\\"},
      {"C:", "C:"},
      {"C:\\Windows\\", "C:\\Windows"},
      {"\\\\srv\\share", "\\\\srv\\share"},
      {"\\\\\\\\srv\\x", "\\\\srv\\x"},
      {"\\Windows", "\\Windows"},
      {"a\\b", "a\\b"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TextOf(Parsed(text).ToString()), expected) << text;

  const CPath flagsOnly = Parsed("\\Windows") + CPathComponent("..");
  ASSERT_TRUE(flagsOnly.GetCount() == 0 && flagsOnly.IsRooted());
  EXPECT_EQ(flagsOnly.ToString().GetText(), nullptr);
}

constexpr int kNoError = 0;

struct JoinCase {
  std::string left, right;
  int code;
  std::string text, flags;  // of the result; empty flags when the join throws
};

// Joins the parsed left operand with the right one, made by makeRight from its text.
template <typename MakeRight>
void ExpectJoins(const JoinCase& c, MakeRight makeRight) {
  const CPath left = Parsed(c.left);
  int code = kNoError;
  CPath result;
  try {
    result = left + makeRight(c.right);
  } catch (const CPathException& e) {
    code = e.GetCode();
  }
  EXPECT_EQ(code, c.code) << c.left << " + " << c.right;
  EXPECT_EQ(TextOf(result.ToString()), c.text) << c.left << " + " << c.right;
  if (code == kNoError) {
    EXPECT_EQ(FlagsOf(result), c.flags) << c.left << " + " << c.right;
  }
}

TEST(PathJoin, PathPlusComponent) {
  const JoinCase cases[] = {
      {"C:\\Windows", "..", kNoError, "C:\\", "-DR-"},
      {"C:\\", "..", PATHERR_BAD_OPERATION, "", ""},
      {"x", "..", kNoError, "", "---L"},
      {"\\\\srv\\share", "..", PATHERR_BAD_OPERATION, "", ""},
      {"\\\\srv\\share\\d", "..", kNoError, "\\\\srv\\share", "U-R-"},
      {"C:\\x", "D:", PATHERR_BAD_OPERATION, "", ""},
      {"", "D:", kNoError, "D:\\", "-DR-"},
      {"C:\\x", ".", kNoError, "C:\\x", "-DR-"},
      {"", ".", kNoError, ".", "---L"},
      {"", "..", kNoError, "..", "---L"},
      {"C:\\x", "...", kNoError, "C:\\x\\...", "-DR-"},
      {"C:\\x", "", kNoError, "C:\\x", "-DR-"},
      {"C:", "*", kNoError, "C:\\*", "-D-L"},
  };
  for (const JoinCase& c : cases)
    ExpectJoins(c, [](const std::string& name) { return CPathComponent(name.c_str()); });
}

TEST(PathJoin, PathPlusPath) {
  const JoinCase cases[] = {
      {"C:\\a", "..\\b", kNoError, "C:\\b", "-DR-"},
      {"C:\\a", "..\\..\\b", PATHERR_BAD_OPERATION, "", ""},
      {"x\\y", "..\\z", kNoError, "x\\z", "---L"},
      {"x", "..\\z", kNoError, "z", "---L"},
      {"x", "..", kNoError, "", "----"},
      {"x\\y", "..\\..\\..", PATHERR_BAD_OPERATION, "", ""},
      {"x", ".", kNoError, "x", "---L"},
      {"x", ".\\.\\y", kNoError, "x\\y", "---L"},
      {"\\\\srv\\share", "..", PATHERR_BAD_OPERATION, "", ""},
      {"C:\\a", "D:\\b", PATHERR_BAD_OPERATION, "", ""},
      {"C:\\a", "\\\\srv\\share", PATHERR_BAD_OPERATION, "", ""},
      {"C:\\a", "\\x", kNoError, "C:\\a\\x", "-DR-"},
      {"", "\\\\srv\\share", kNoError, "\\\\srv\\share", "U-R-"},
  };
  for (const JoinCase& c : cases) ExpectJoins(c, Parsed);
}

TEST(PathJoin, ComponentInFront) {
  const CPath full = CPathComponent("C:") + (CPathComponent("Windows") + Parsed("System32"));
  EXPECT_EQ(TextOf(full.ToString()), "C:\\Windows\\System32");
  EXPECT_EQ(FlagsOf(full), "-DR-");
  EXPECT_EQ(TextOf((CPathComponent("C:") + CPath()).ToString()), "C:\\");
  EXPECT_THROW(CPathComponent("x") + Parsed("D:\\y"), CPathException);
}

TEST(PathJoin, FailedCombineLeavesTheTargetUnchanged) {
  CPath target = Parsed("keep\\me");
  EXPECT_FALSE(target.Combine(Parsed("C:\\"), Parsed("..\\x")));
  EXPECT_EQ(TextOf(target.ToString()), "keep\\me");
  EXPECT_TRUE(target.Combine(target, Parsed("..\\you")));
  EXPECT_EQ(TextOf(target.ToString()), "keep\\you");
}

}  // namespace
