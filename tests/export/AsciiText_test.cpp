#include "export/AsciiText.h"

#include <gtest/gtest.h>

#include <QString>

namespace cubwave::test {
namespace {

TEST(AsciiText, LettersTakeTheirPlainSpellingAndOnlyTheRestBecomesAQuestionMark)
{
    const std::pair<const char*, const char*> cases[] = {
        // Letters that do not decompose: their spelling, upper and lower case.
        {"Strauß", "Strauss"},  {"STRAUẞ", "STRAUSS"}, {"Łukasz Wałęsa", "Lukasz Walesa"},
        {"Søren Ørsted", "Soren Orsted"}, {"Œdipe sœur", "OEdipe soeur"},    {"Ægir Ærø", "AEgir AEro"},
        {"Đorđe Đukić", "Dorde Dukic"},   {"Þórdís þú", "THordis thu"},      {"Guðrún Ð", "Gudrun D"},
        {"Ħamrun ħ", "Hamrun h"},         {"Ŧ ŧ", "T t"},                    {"Iğdır ı", "Igdir i"},
        {"Ŀl·l ŀ", "Ll?l l"},
        // Letters that decompose lose their marks, compatibility forms their styling.
        {"José Zoë Ólafur", "Jose Zoe Olafur"}, {"ﬁne Ǆ ²", "fine DZ 2"}, {"Ａｎｎ", "Ann"},
        // Typographic quotes and dashes are the ASCII ones.
        {"O’Brien ‘x’ “y” „z“ a–b—c", "O'Brien 'x' \"y\" \"z\" a-b-c"},
        // No plain spelling: "?", one for each character, surrogate pairs included.
        {"李明", "??"}, {"Ωmega", "?mega"}, {"a😀b", "a?b"}, {"tab\tend", "tab?end"}, {"·", "?"},
        // A lone combining mark has no spelling and takes no room.
        {"\u0301", ""}, {"e\u0301", "e"},
        {"plain ASCII ~!", "plain ASCII ~!"}, {"", ""},
    };
    for (const auto& [text, ascii] : cases) {
        const QString in = QString::fromUtf8(text);
        EXPECT_EQ(toAscii(in), QByteArray(ascii)) << text;
        // Appending gives the same bytes, and a limit cuts the ASCII form, not the text.
        QByteArray out("x");
        appendAscii(out, in, 3);
        EXPECT_EQ(out, "x" + QByteArray(ascii).left(3)) << text;
    }
}

}  // namespace
}  // namespace cubwave::test
