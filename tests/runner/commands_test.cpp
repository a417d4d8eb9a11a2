#include "runner/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/json.h"
#include "platform/platform.h"

namespace kav::runner {
namespace {

Command Parsed(std::string_view line) {
  auto result = ParseCommand(line);
  if (auto* e = std::get_if<ParseError>(&result)) {
    ADD_FAILURE() << line << ": " << e->reason;
    return {};
  }
  return std::get<Command>(result);
}

bool Refused(std::string_view line) {
  return std::holds_alternative<ParseError>(ParseCommand(line));
}

TEST(CommandsTest, KeyNamesAreTheGamesVirtualKeys) {
  EXPECT_EQ(VkForKeyName("Return"), kVkReturn);
  EXPECT_EQ(VkForKeyName("F4"), kVkF4);
  EXPECT_EQ(VkForKeyName("M"), kVkM);
  EXPECT_EQ(VkForKeyName("Z"), 90);
  EXPECT_EQ(VkForKeyName("0"), 48);
  EXPECT_EQ(VkForKeyName("LeftShift"), kVkShift);
  EXPECT_EQ(VkForKeyName("BackSpace"), kVkBackSpace);
  EXPECT_EQ(VkForKeyName("m"), 0) << "letters are upper case";
  EXPECT_EQ(VkForKeyName("F5"), 0);
}

TEST(CommandsTest, RunCommandsAndTheirDefaults) {
  const Command tap = Parsed("tap Space");
  EXPECT_EQ(tap.kind, Command::Kind::Tap);
  EXPECT_EQ(tap.ms, 100);
  EXPECT_TRUE(tap.Runs());
  EXPECT_EQ(Parsed("tap Up 35").ms, 35);
  EXPECT_EQ(Parsed("until clear").count, 1);
  EXPECT_EQ(Parsed("until frame 7").count, 7);
  EXPECT_EQ(Parsed("frames 3").text, "frame");
  EXPECT_FALSE(Parsed("state").Runs());
  EXPECT_TRUE(Refused("until frobs"));
  EXPECT_TRUE(Refused("frames 0"));
  EXPECT_TRUE(Refused("advance"));
  EXPECT_TRUE(Refused("advance 1.5"));
  EXPECT_TRUE(Refused("key A sideways"));
  EXPECT_TRUE(Refused("click 800 0"));
  EXPECT_TRUE(Refused("pixel 0 -1"));
  EXPECT_TRUE(Refused("pad axis x 40000"));
  EXPECT_TRUE(Refused("pad button 3 down"));
  EXPECT_TRUE(Refused("pad attach wobbly"));
  EXPECT_TRUE(Refused("state now"));
  EXPECT_TRUE(Refused("kavrona-script one"));
}

TEST(CommandsTest, TextKeepsTheRestOfTheLineVerbatim) {
  EXPECT_EQ(Parsed("text  two blanks ").text, " two blanks ");
  EXPECT_EQ(Parsed("text ｱｲｳ　漢字").text, "ｱｲｳ　漢字");
  EXPECT_EQ(Parsed("compose").text, "") << "an empty composition ends it";
  EXPECT_EQ(Parsed("  text abc").text, "abc") << "an indented command is the same command";
  EXPECT_EQ(Parsed("\tshot a.png").text, "a.png");
  EXPECT_EQ(Parsed("  set PlayerName=ABC").assignments.at(0).first, "PlayerName");
  EXPECT_TRUE(Refused("text"));
}

TEST(CommandsTest, AssignmentValueForms) {
  const Command c = Parsed("set A=12 B=-0.5 C=true D=\"x y\" E=[1, 2, [3]] F=ABC G=3D H=null I=\"\"");
  ASSERT_EQ(c.assignments.size(), 9u);
  EXPECT_EQ(c.assignments[0].second.As<int64_t>(), 12);
  EXPECT_EQ(c.assignments[1].second.As<double>(), -0.5);
  EXPECT_EQ(c.assignments[2].second.As<bool>(), true);
  EXPECT_EQ(c.assignments[3].second.As<std::string>(), "x y");
  EXPECT_EQ(ToJson(c.assignments[4].second), "[1,2,[3]]");
  EXPECT_EQ(c.assignments[5].second.As<std::string>(), "ABC");
  EXPECT_EQ(c.assignments[6].second.As<std::string>(), "3D") << "not a JSON number: a bare string";
  EXPECT_EQ(c.assignments[7].second.As<std::string>(), "null");
  EXPECT_EQ(c.assignments[8].second.As<std::string>(), "");
  // Only what is JSON as a whole is read as JSON.
  const Command bare = Parsed("set A=007 B=1. C=[abc D=\"abc E=1e5 F=-0.5e-2 G=truex");
  ASSERT_EQ(bare.assignments.size(), 7u);
  EXPECT_EQ(bare.assignments[0].second.As<std::string>(), "007");
  EXPECT_EQ(bare.assignments[1].second.As<std::string>(), "1.");
  EXPECT_EQ(bare.assignments[2].second.As<std::string>(), "[abc");
  EXPECT_EQ(bare.assignments[3].second.As<std::string>(), "\"abc");
  EXPECT_EQ(bare.assignments[4].second.As<double>(), 1e5);
  EXPECT_EQ(bare.assignments[5].second.As<double>(), -0.005);
  EXPECT_EQ(bare.assignments[6].second.As<std::string>(), "truex");
  EXPECT_TRUE(Refused("set"));
  EXPECT_TRUE(Refused("set A"));
  EXPECT_TRUE(Refused("set =1"));
  EXPECT_TRUE(Refused("set A="));
  EXPECT_TRUE(Refused("until ready")) << "the runner's own events are never the game's";
  EXPECT_TRUE(Refused("until state"));
}

TEST(CommandsTest, EveryEventKindIsDocumented) {
  std::ifstream in(std::string(KAVRONA_SOURCE_DIR) + "/docs/trace.md");
  ASSERT_TRUE(in) << "docs/trace.md";
  std::stringstream text;
  text << in.rdbuf();
  const std::string doc = text.str();
  for (std::string_view kind : EventKinds()) {
    std::string quoted = "`";
    quoted.append(kind).append("`");
    EXPECT_NE(doc.find(quoted), std::string::npos) << kind;
  }
}

TEST(JsonTest, WritesWhatReadsBack) {
  const TraceValue value(TraceValue::Object{{"s", "a\"b\\c\n\x01ｱ"},
                                            {"d", 0.1},
                                            {"whole", 2.0},
                                            {"big", 1e300},
                                            {"i", int64_t{-2147483648}},
                                            {"a", TraceValue::Array{true, false, TraceValue()}}});
  const std::string json = ToJson(value);
  EXPECT_EQ(json,
            "{\"s\":\"a\\\"b\\\\c\\n\\u0001ｱ\",\"d\":0.1,\"whole\":2.0,\"big\":1e+300,\"i\":-2147483648,"
            "\"a\":[true,false,null]}");
  std::string_view text = json;
  std::string error;
  std::optional<TraceValue> back = ParseJson(text, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(ToJson(*back), json);
  EXPECT_TRUE(back->As<TraceValue::Object>()[2].second.Is<double>()) << "2.0 stays a double";

  std::string_view escaped = "\"\\u00e9\\ud83d\\ude00\"";
  EXPECT_EQ(ParseJson(escaped, error)->As<std::string>(), "é😀");
}

TEST(JsonTest, TraceLineStartsWithKindAndTicks) {
  TraceEvent e{"pixel", {}};
  e.Add("rgb", "00FF00");
  EXPECT_EQ(TraceLine(e, -5), "{\"ev\":\"pixel\",\"t\":-5,\"rgb\":\"00FF00\"}");
}

}  // namespace
}  // namespace kav::runner
