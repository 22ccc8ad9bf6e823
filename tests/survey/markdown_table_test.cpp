// The Markdown table survey.md is written with: the separator follows the headers, every row has
// their columns, and no text in a cell can end the cell or the row.
#include "survey/markdown_table.h"

#include <gtest/gtest.h>

namespace {

TEST(MarkdownTable, TheSeparatorAndEveryRowHaveTheHeadersColumns) {
    MarkdownTable table({"Mode", "Samples", "Picture"});
    EXPECT_TRUE(table.Empty());
    table.AddRow({"HAL", "4 samples", "[png](a.png)"});
    table.AddRow({"REF"});                       // cut short: the rest left empty
    table.AddRow({"SW", "1 sample", "-", "x"});  // a cell too many: dropped
    EXPECT_FALSE(table.Empty());
    EXPECT_EQ(table.Text(),
              "| Mode | Samples | Picture |\n"
              "|---|---|---|\n"
              "| HAL | 4 samples | [png](a.png) |\n"
              "| REF |  |  |\n"
              "| SW | 1 sample | - |\n");
    EXPECT_EQ(MarkdownTable({"One"}).Text(), "| One |\n|---|\n");
}

TEST(MarkdownTable, PipesAndLineBreaksInTextsCannotBreakTheTable) {
    const struct {
        const char* text;
        const char* cell;
    } cases[] = {
        {"Card | Model", "Card \\| Model"},
        {"two\nlines", "two lines"},
        {"dos\r\nline", "dos  line"},
        {"|", "\\|"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MarkdownCell(c.text), c.cell) << c.text;
        MarkdownTable table({c.text});
        table.AddRow({c.text});
        EXPECT_EQ(table.Text(), std::string("| ") + c.cell + " |\n|---|\n| " + c.cell + " |\n") << c.text;
    }
}

}  // namespace
