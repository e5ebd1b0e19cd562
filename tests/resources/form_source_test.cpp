// The shared .form source library: its lexer and the typed tree the tools read (the checks are
// covered through formc in form_compiler_test.cpp).
#include "resources/form_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wt::formsrc {
namespace {

struct TokenRow {
    const char* line;
    std::vector<std::string> tokens;
};

class Tokenizer : public ::testing::TestWithParam<TokenRow> {};

TEST_P(Tokenizer, SplitsLinesIntoTokens) {
    std::vector<Token> tokens;
    std::string error;
    ASSERT_TRUE(tokenize(GetParam().line, tokens, error)) << error;
    std::vector<std::string> texts;
    for (const Token& t : tokens) texts.push_back(t.text);
    EXPECT_EQ(texts, GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Tokenizer,
    ::testing::Values(
        TokenRow{"control a1  terminal 128 168 24 24 on clicked",
                 {"control", "a1", "terminal", "128", "168", "24", "24", "on", "clicked"}},
        TokenRow{"component QS switch 1 2 3 4 \"电源 开关\"",
                 {"component", "QS", "switch", "1", "2", "3", "4", "电源 开关"}},
        TokenRow{"control l label 0 0 1 1 caption=\"a # b\" # note",
                 {"control", "l", "label", "0", "0", "1", "1", "caption=a # b"}},
        TokenRow{"x \"say \\\"hi\\\"\\n\"", {"x", "say \"hi\"\r\n"}}, TokenRow{"a#b c", {"a"}},
        TokenRow{"   # only a comment", {}}, TokenRow{"\tw\r", {"w"}}));

struct BadLineRow {
    const char* line;
    const char* error;
};

class TokenizerRefuses : public ::testing::TestWithParam<BadLineRow> {};

TEST_P(TokenizerRefuses, NamingTheMistake) {
    std::vector<Token> tokens;
    std::string error;
    EXPECT_FALSE(tokenize(GetParam().line, tokens, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Lines, TokenizerRefuses,
                         ::testing::Values(BadLineRow{"caption=\"open", "unterminated quoted text"},
                                           BadLineRow{"caption=\"a\\tb\"",
                                                      "unknown escape '\\t' in quoted text"}));

TEST(Tokenizer, SplitsAttributesAtTheFirstPlainEquals) {
    std::vector<Token> tokens;
    std::string error;
    ASSERT_TRUE(tokenize("caption=\"a=b\" hidden", tokens, error));
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_TRUE(tokens[0].hasValue);
    EXPECT_EQ(tokens[0].key, "caption");
    EXPECT_EQ(tokens[0].value, "a=b");
    EXPECT_TRUE(tokens[1].isWord("hidden"));
}

TEST(Tree, KeepsLinesDefaultsAndWindowPositions) {
    Diagnostics diagnostics;
    auto w = parse(
        "window W 400 300 on created\n"
        "component KM contactor 40 40 120 100 \"接触器\"\n"
        "control 图片框1 picturebox 200 100 100 80\n"
        "control t2 terminal 10 20 24 24 parent=图片框1 on clicked\n"
        "control w线 wire 300 200 80 8\n",
        "W.form", diagnostics);
    ASSERT_TRUE(w) << (diagnostics.empty() ? "" : diagnostics.front().text());
    EXPECT_EQ(w->line, 1);
    ASSERT_EQ(w->bindings.size(), 1u);
    EXPECT_EQ(w->bindings[0].eventName, "created");
    ASSERT_EQ(w->components.size(), 1u);
    EXPECT_EQ(w->components[0].line, 2);
    EXPECT_EQ(w->components[0].rect, (Rect{40, 40, 120, 100}));
    EXPECT_EQ(w->components[0].caption, "接触器");
    const Control* t2 = w->control("t2");
    ASSERT_NE(t2, nullptr);
    EXPECT_EQ(t2->line, 4);
    EXPECT_EQ(t2->kind, findKind("terminal"));
    EXPECT_EQ(t2->picture, "terminal");
    EXPECT_EQ(t2->caption, "按钮");
    EXPECT_EQ(t2->rect, (Rect{10, 20, 24, 24}));
    EXPECT_EQ(w->windowRect(*t2), (Rect{210, 120, 24, 24}));
    ASSERT_EQ(t2->bindings.size(), 1u);
    EXPECT_EQ(t2->bindings[0].event, form::kEventClicked);
    ASSERT_NE(w->control("w线"), nullptr);
    EXPECT_EQ(w->control("w线")->phase->name, "ctl");
    EXPECT_EQ(w->control("none"), nullptr);
}

TEST(Tree, CollectsEveryMistakeWithItsLine) {
    Diagnostics diagnostics;
    EXPECT_FALSE(parse("window W 10 10\ncontrol a bogus 1 2 3 4\ncontrol b label 1 2 3 x\n",
                       "W.form", diagnostics));
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics[0].text(), "W.form:2: unknown kind 'bogus'");
    EXPECT_EQ(diagnostics[1].text(), "W.form:3: bad number 'x' for height");
}

}  // namespace
}  // namespace wt::formsrc
