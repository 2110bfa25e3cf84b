// Texts of a data file on the screen: one decoding, and message lines that
// stay readable whatever bytes they hold.
#include "qtdraw/QtText.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>

TEST(QtText, UnicodeWhenValidElseLatin1) {
    EXPECT_EQ(TextFromBytes("Temp\xc3\xa9rature"), QString::fromUtf8("Temp\u00e9rature"));
    EXPECT_EQ(TextFromBytes("Temp\xe9rature"), QString::fromUtf8("Temp\u00e9rature"));
}

// Each line of a message is decoded on its own, so a Latin-1 line from a
// file does not spoil a UTF-8 path on the next; control characters show as
// escapes; a line is cut after exactly 300 characters.
TEST(MessageBoxText, DecodesLinesAloneEscapesControlsAndCutsLongLines) {
    EXPECT_EQ(MessageBoxText("Not known command:\n\nK\xe9y=1\x1b[m\n\n/d\xc3\xa4ta/f.txt"),
              QString::fromUtf8("Not known command:\n\nK\u00e9y=1\\x1b[m\n\n/d\u00e4ta/f.txt"));
    EXPECT_EQ(MessageBoxText("a\tb\x7f\xc2\x85"), QString::fromUtf8("a\tb\\x7f\\x85"));

    const std::string whole(300, 'w');
    EXPECT_EQ(MessageBoxText(whole), QString::fromStdString(whole));
    EXPECT_EQ(MessageBoxText(whole + "x\nnext"), QString::fromStdString(whole + "...\nnext"));
    // Characters, not bytes: 300 two-byte characters stay whole.
    std::string wide;
    for (int i = 0; i < 300; ++i)
        wide += "\xc3\xa4";
    EXPECT_EQ(MessageBoxText(wide).size(), 300);
    EXPECT_EQ(MessageBoxText(wide + "\xc3\xa4"), QString::fromUtf8(wide) + "...");
    // A binary line of megabytes is cut too.
    EXPECT_EQ(MessageBoxText(std::string(5'000'000, '\xff')).size(), 303);
}
