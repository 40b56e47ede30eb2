// The lexer: comments, operators, numbers, strings and names as tokens.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/support/recording_dialogs.h"

namespace zun {
namespace {

// Tokenises a text and lists the tokens as "kind:text" (kind O, N, S, W, V).
class Lexer : public ::testing::Test {
 protected:
  std::string Tokens(const std::string& text) {
    engine.SetDialogs(&dialogs);
    engine.SetScript(FromUtf8(text));
    engine.bError = false;
    engine.strErrors.clear();
    std::string out;
    for (int guard = 0; guard < 100; ++guard) {
      int32_t kind = SETK_END;
      u16 t = engine.GetNextToken(kind);
      if (kind == SETK_END) break;
      static const char kKinds[] = "EVNSWO";
      out += (out.empty() ? "" : " ") + std::string(1, kKinds[kind]) + ":" + ToUtf8(t);
      if (engine.IsError()) break;
    }
    return out;
  }
  std::string Errors() { return ToUtf8(engine.strErrors); }

  golden::RecordingDialogs dialogs;
  EZunScriptEngine engine;
};

TEST_F(Lexer, CommentsAndEnd) {
  EXPECT_EQ(Tokens(""), "");
  EXPECT_EQ(Tokens("  // only a comment"), "");
  EXPECT_EQ(Tokens("a // c\n/* b */ b"), "W:a W:b");
  EXPECT_EQ(Tokens("/*/ x"), "W:x");
  EXPECT_EQ(Tokens("/* unterminated"), "");
  EXPECT_NE(Errors().find("*\\ expected"), std::string::npos);
  // Many comments in a row cost no stack.
  std::string many;
  for (int i = 0; i < 200000; ++i) many += "//\n";
  EXPECT_EQ(Tokens(many + "z"), "W:z");
}

TEST_F(Lexer, MinusSkipsBlanksPlusDoesNot) {
  EXPECT_EQ(Tokens("a-=1"), "W:a O:-= N:1");
  EXPECT_EQ(Tokens("a - = 1"), "W:a O:-= N:1");
  EXPECT_EQ(Tokens("a + = 1"), "W:a O:+ O:= N:1");
  EXPECT_EQ(Tokens("a + +b"), "W:a O:+ O:+ W:b");
  EXPECT_EQ(Errors(), "");
  EXPECT_EQ(Tokens("a++"), "W:a O:+");
  EXPECT_NE(Errors().find("Operator ++ not supported"), std::string::npos);
}

TEST_F(Lexer, Operators) {
  EXPECT_EQ(Tokens("x&y x&&y x&=y x|=y"), "W:x O:& W:y W:x O:&& W:y W:x O:&= W:y W:x O:|= W:y");
  EXPECT_EQ(Tokens("=< %= != ;"), "O:= O:< O:% O:= O:!= O:;");
  EXPECT_EQ(Tokens("AND And or NOT IF"), "O:&& O:&& O:|| O:! W:IF");
}

TEST_F(Lexer, Numbers) {
  EXPECT_EQ(Tokens("12.5.7 .5"), "N:12.5.7 O:. N:5");
  EXPECT_EQ(Tokens("0X1F 0xff 7x10"), "N:0 W:X1F N:255 N:16");
  EXPECT_EQ(Tokens("0x8000000000000000"), "N:9223372036854775807");
  EXPECT_EQ(Tokens("0x "), "N:");  // an empty number token
  EXPECT_NE(Errors().find("Didit expected"), std::string::npos);
}

TEST_F(Lexer, StringsAndEscapes) {
  EXPECT_EQ(Tokens("\"a\\tb\\\\\\\"\\n\\r\""), "S:a\tb\\\"\n\r");
  EXPECT_EQ(Tokens("\"line\nbreak\""), "S:line\nbreak");
}

TEST_F(Lexer, VariablesAndWords) {
  EXPECT_EQ(Tokens("$a_b:c $1x $+1 Win:Show _x9"), "V:a_b:c V:1x V:+1 W:Win:Show W:_x9");
  EXPECT_EQ(Tokens("\u00e9t\u00e9 $\u043f\u0440\u0438"), "W:\u00e9t\u00e9 V:\u043f\u0440\u0438");
}

}  // namespace
}  // namespace zun
