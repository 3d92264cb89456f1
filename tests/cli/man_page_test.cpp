#include "cli/man_page.h"

#include <gtest/gtest.h>

#include <string>

namespace cv {
namespace {

TEST(ManPage, HelpLinesAsRoffText) {
    const struct {
        const char* line;
        const char* roff;
    } cases[] = {
        {"plain words", "plain words"},
        {"\\n, \\\\ for a backslash", "\\en, \\e\\e for a backslash"},
        {"--json, 4-byte", "\\-\\-json, 4\\-byte"},
        {".fi read as text", "\\&.fi read as text"},
        {"'quoted' at the start", "\\&'quoted' at the start"},
        {"a dot . and ' within", "a dot . and ' within"},
        {"  indented", "  indented"},
        {"caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x99\x82", "caf\\[u00E9] \\[u2014] \\[u1F642]"},
        {"broken \xFF and cut \xE2\x80", "broken \\[uFFFD] and cut \\[uFFFD]\\[uFFFD]"},
    };
    for (const auto& c : cases) EXPECT_EQ(RoffText(c.line), c.roff) << c.line;
}

// Each help's parts land in their place: what is on the page, or (present false) is not.
TEST(ManPage, SectionsFromTheHelpTexts) {
    const HelpText program{
        "", "Usage: corvane-cli [X]\nDoes x, bit by bit. Then more.\n\nExit status: 0 done,\n2 bad.\n"};
    const HelpText quiet{"quiet",
                         "Usage: corvane-cli quiet N\nSays nothing.\n  N  a number\nAfter the list.\n"};
    const struct {
        const char* fragment;
        bool present;
    } cases[] = {
        {".TH CORVANE\\-CLI 1 \"\" \"Corvane 9.8\" \"User Commands\"\n", true},
        {".SH NAME\ncorvane\\-cli \\- does x, bit by bit\n", true},
        {".SH SYNOPSIS\n\\fBcorvane\\-cli\\fR [X]\n.br\n\\fBcorvane\\-cli quiet\\fR N\n.br\n"
         "\\fBcorvane\\-cli bare\\fR\n.SH DESCRIPTION\n",
         true},
        {".SH BARE\nNo usage line.\n", true},
        {".SH DESCRIPTION\nDoes x, bit by bit. Then more.\n.SH QUIET\n", true},
        {".SH QUIET\nSays nothing.\n.nf\n  N  a number\n.fi\nAfter the list.\n", true},
        {".SH \"EXIT STATUS\"\n.TP\n.B corvane\\-cli\n0 done, 2 bad.\n", true},
        {".B corvane\\-cli quiet\n", false},
        {"Usage:", false},
        {"Exit status:", false},
    };
    const HelpText bare{"bare", "No usage line.\n"};
    const std::string page = ManPage(program, {quiet, bare}, "9.8");
    for (const auto& c : cases)
        EXPECT_EQ(page.find(c.fragment) != std::string::npos, c.present) << c.fragment;
}

}  // namespace
}  // namespace cv
