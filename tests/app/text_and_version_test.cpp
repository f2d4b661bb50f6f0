#include <windows.h>

#include "base/file_version.h"
#include "base/reason.h"
#include "base/text.h"
#include "probe/d3d_common.h"

#include <gtest/gtest.h>

namespace {

TEST(Reason, FailsOnlyWhenTheConditionHoldsAndReadsAsOneLine) {
    EXPECT_NO_THROW(fail_if(false, "no pixel format"));
    try {
        fail_if(true, "no pixel format", "SetPixelFormat");
        FAIL() << "fail_if(true) returned";
    } catch (const failure& error) {
        EXPECT_EQ((reason{"", -1, "SetPixelFormat", "no pixel format", ""}), error.why());
        EXPECT_STREQ("no pixel format", error.what());
    }
    const reason why{"Direct3D 12", 0, "D3D12CreateDevice", "D3D12CreateDevice failed", "0x887A0004"};
    EXPECT_EQ("Direct3D 12: D3D12CreateDevice failed (0x887A0004)", why.text());
    EXPECT_EQ("0x887A0004", status_code_text(static_cast<int32_t>(0x887A0004)));
}

TEST(SplitAt, WalksThePartsAndEmptiesTheText) {
    std::string text = "1.4 Build 7";
    std::string head = "stale";
    split_at(text, ' ', head);
    EXPECT_EQ("1.4", head);
    EXPECT_EQ("Build 7", text);
    split_at(text, ' ', head);
    EXPECT_EQ("Build", head);
    EXPECT_EQ("7", text);
    split_at(text, ' ', head);
    EXPECT_EQ("7", head);
    EXPECT_EQ("", text);
    split_at(text, ' ', head);
    EXPECT_EQ("", head);
    EXPECT_EQ("", text);
}

TEST(SplitAt, LeadingAndMissingSeparators) {
    std::string text = " rest";
    std::string head = "stale";
    split_at(text, ' ', head);
    EXPECT_EQ("", head);
    EXPECT_EQ("rest", text);

    text = "1.4 Build 7";
    split_at(text, '=', head);
    EXPECT_EQ("1.4 Build 7", head);
    EXPECT_EQ("", text);

    text = "a==b";
    split_at(text, '=', head);
    EXPECT_EQ("a", head);
    EXPECT_EQ("=b", text);
}

TEST(PadLeft, PadsWithBlanksAndNeverCuts) {
    std::string result = "stale";
    pad_left(800, 4, result);
    EXPECT_EQ(" 800", result);
    pad_left(-5, 4, result);
    EXPECT_EQ("  -5", result);
    pad_left(12345, 4, result);
    EXPECT_EQ("12345", result);
    pad_left(-2147483647 - 1, 4, result);
    EXPECT_EQ("-2147483648", result);
    pad_left(7, 0, result);
    EXPECT_EQ("7", result);
    pad_left(7, -3, result);
    EXPECT_EQ("7", result);
}

TEST(GuidToText, FieldWidthsAndCase) {
    EXPECT_EQ("0000-0000-0000-0000000000000000", guid_text(GUID{}));
    EXPECT_EQ("12345678-9ABC-DEF0-0123456789ABCDEF",
              guid_text(GUID{0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}}));
    // Data1 is padded to four digits only; Data2, Data3 and the bytes keep
    // their leading zeros.
    EXPECT_EQ("001A-000B-000C-0001000000000A00",
              guid_text(GUID{0x1A, 0xB, 0xC, {0x00, 0x01, 0, 0, 0, 0, 0x0A, 0x00}}));
    EXPECT_EQ("12345-0000-0000-0000000000000000", guid_text(GUID{0x12345, 0, 0, {}}));
    EXPECT_EQ("FFFFFFFF-FFFF-FFFF-FFFFFFFFFFFFFFFF",
              guid_text(GUID{0xFFFFFFFF, 0xFFFF, 0xFFFF, {255, 255, 255, 255, 255, 255, 255, 255}}));
}

TEST(IsNumeric, ChecksCharactersNotTheFormOfANumber) {
    for (const char* text : {"0.0", "3.402823E38", "-1", "", "-", "E", "1 2", "+1.5E-3", "4.0"}) {
        EXPECT_TRUE(reads_as_number(text)) << text;
    }
    for (const char* text : {"0x10", " 1", " ", "yes", "no", "1e5", "Nan", "+Inf", "-Inf", "1\t2"}) {
        EXPECT_FALSE(reads_as_number(text)) << text;
    }
}

TEST(IsNumeric, AcceptsTheUsersDecimalSeparator) {
    char buffer[8] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer), 1);
    const char separator = buffer[0];
    EXPECT_TRUE(reads_as_number(std::string("0") + separator + "5"));
    // A comma is numeric exactly where it is the decimal separator.
    EXPECT_EQ(separator == ',', reads_as_number("0,5"));
}

TEST(IsYesNo, ExactLowerCaseWordsOnly) {
    EXPECT_TRUE(reads_as_yes_no("yes"));
    EXPECT_TRUE(reads_as_yes_no("no"));
    for (const char* text : {"Yes", "NO", "yes ", " no", "", "y", "none"}) {
        EXPECT_FALSE(reads_as_yes_no(text)) << text;
    }
}

// The shell (which splits a command line) is loaded only where there is
// something to split.
TEST(HasArguments, LooksPastTheProgramsName) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"cavio.exe", false},
        {L"cavio.exe   ", false},
        {L"\"C:\\Program Files\\Cavio\\cavio.exe\"", false},
        {L"\"C:\\Program Files\\Cavio\\cavio.exe\" ", false},
        {L"\"C:\\Program Files\\Cavio\\cavio.exe\" report.json", true},
        {L"C:\\Cavio\\cavio.exe\t--site http://127.0.0.1:8197/", true},
        {L"\"unterminated cavio.exe", false},
        {L"", false},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(has_arguments(line), expected) << utf8_of(line);
    }
}

TEST(FileVersionText, ReadsTheFixedVersionOfTheRunningProgram) {
    // This program's version resource says 1.2.3.4: the order of the four
    // parts is checked, not only their presence.
    EXPECT_EQ("1.2.3.4", file_version_text());
}

}  // namespace
