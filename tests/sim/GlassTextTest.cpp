#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "GlassText.h"
#include "SimTestSupport.h"
#include "game/Figures.h"
#include "game/Lattice.h"

namespace {
std::unique_ptr<TStakko> Read(const std::string &text, std::optional<TFigureLine> *figure = nullptr) {
    auto s = std::make_unique<TStakko>();
    std::istringstream in(text);
    std::optional<TFigureLine> line = ReadGlassText(in, *s);
    if (figure)
        *figure = line;
    return s;
}

std::string Write(const TStakko &s) {
    std::ostringstream out;
    WriteGlassText(out, s);
    return out.str();
}
} // namespace

TEST(GlassText, WritesEveryRowWholeWithBlanksWhereNoCellIs) {
    TStakko s;
    s.Width = 3;
    s.Height = 3;
    s.NewGame();
    s.SetCell(0, 0, 1);
    s.SetCell(1, 1, 1);
    s.SetCell(2, 2, 1);
    EXPECT_EQ(Write(s), "3 3\n"
                        "# .\n"
                        " # \n"
                        ". #\n");
}

TEST(GlassText, RoundTripKeepsEveryCell) {
    // Sizes at the bounds and between, each with an irregular pattern.
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 5}, {11, 31}, {31, 71}};
    for (auto [width, height] : sizes) {
        TStakko s;
        s.Width = width;
        s.Height = height;
        s.NewGame();
        for (int column = 0; column < width; ++column)
            for (int row = 0; row < height; ++row)
                s.SetCell(column, row, (column * 7 + row * 3) % 5 < 2 ? 1 : 0);
        std::string text = Write(s);
        auto back = Read(text);
        ASSERT_EQ(back->Width, width);
        ASSERT_EQ(back->Height, height);
        for (int column = 0; column < width; ++column)
            for (int row = 0; row < height; ++row)
                ASSERT_EQ(back->GetCell(column, row), s.GetCell(column, row))
                    << width << "x" << height << " at (" << column << ", " << row << ")";
        EXPECT_EQ(Write(*back), text);
    }
}

TEST(GlassText, ReadsTheLenientForms) {
    // Each text holds the cells (0, 2) and (3, 1) of a 5 x 3 glass.
    const std::string expected = "5 3\n"
                                 ". . .\n"
                                 " . # \n"
                                 "# . .\n";
    const struct {
        const char *name;
        std::string text;
    } cases[] = {
        {"whole rows", expected},
        {"CRLF line ends", "5 3\r\n. . .\r\n . # \r\n# . .\r\n"},
        {"trailing blanks dropped", "5 3\n. . .\n . #\n# . .\n"},
        {"short lines read as empty", "5 3\n\n . #\n#\n"},
        {"anything where no cell is", "5 3\n.x.x.\n#.###\n#?.?.\n"},
        {"blanks beyond the last column", "5 3\n. . .   \n . # \t\n# . .  \n"},
        {"blank lines after the glass", "5 3\n. . .\n . #\n# . .\n\n  \n"},
        {"blanks in the header", "  5\t 3 \n. . .\n . #\n# . .\n"},
        {"no line end at the end", "5 3\n. . .\n . #\n# . ."},
    };
    for (const auto &c : cases) {
        std::unique_ptr<TStakko> s;
        ASSERT_NO_THROW(s = Read(c.text)) << c.name;
        EXPECT_EQ(Write(*s), expected) << c.name;
    }
}

TEST(GlassText, FigureLineSetsKindOriginAndTurnedOffsets) {
    const struct {
        const char *line;
        int kind, column, row;
        TOffset cells[4];
    } cases[] = {
        {"figure 0 4 10", 0, 4, 10, {{0, 0}, {0, 2}, {0, -2}, {0, -4}}},
        {"figure 0 4 10 1", 0, 4, 10, {{0, 0}, {1, 1}, {-1, -1}, {-2, -2}}},
        {"figure 0 4 10 7", 0, 4, 10, {{0, 0}, {1, 1}, {-1, -1}, {-2, -2}}},
        {"figure 0 4 10 -1", 0, 4, 10, {{0, 0}, {-1, 1}, {1, -1}, {2, -2}}},
        {"figure 9 -3 -5 0", 9, -3, -5, {{0, 2}, {-1, 1}, {-1, -1}, {0, -2}}},
        {"figure 8 1000 -1000 2", 8, 1000, -1000, {{0, 0}, {1, -1}, {-1, -1}, {0, 2}}},
    };
    for (const auto &c : cases) {
        std::optional<TFigureLine> figure;
        auto s = Read(GlassText(11, 31, {}, c.line), &figure);
        ASSERT_TRUE(figure.has_value()) << c.line;
        PlaceFigure(*s, *figure);
        EXPECT_EQ(s->Kind, c.kind) << c.line;
        EXPECT_EQ(s->FigX, c.column) << c.line;
        EXPECT_EQ(s->FigY, c.row) << c.line;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s->CellX[i], c.cells[i].X) << c.line << " cell " << i;
            EXPECT_EQ(s->CellY[i], c.cells[i].Y) << c.line << " cell " << i;
        }
    }
}

TEST(GlassText, NoFigureLineReadsAsNone) {
    std::optional<TFigureLine> figure{TFigureLine{}};
    Read(GlassText(3, 3, {}), &figure);
    EXPECT_FALSE(figure.has_value());
}

TEST(GlassText, ReadingEmptiesCellsLeftFromBefore) {
    TStakko s;
    s.Width = 5;
    s.Height = 5;
    s.NewGame();
    s.SetCell(2, 4, 1);
    std::istringstream in(GlassText(5, 5, {{0, 0}}));
    ReadGlassText(in, s);
    EXPECT_EQ(s.GetCell(2, 4), EmptyCell);
    EXPECT_EQ(s.GetCell(0, 0), FilledCell);
}
