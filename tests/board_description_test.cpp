// What the board says to a screen reader, without a window system: the words in each
// language, values and states, where each direction leads, and the respelling rule.
#include <gtest/gtest.h>

#include <string>

#include "model/board_description.h"

namespace modalscope {
namespace {

// A reset board (root at string 6, fret 1) with the b2 box, item 146, hidden or not.
Fretboard boardWith(bool hidden) {
    Fretboard board;
    board.resetBoard();
    if (hidden) {
        board.toggle(1);
    }
    return board;
}

TEST(BoardDescription, WordsValuesAndStatesInTheUsersLanguage) {
    const struct {
        Language language;
        long item;
        bool hidden;
        const char *name, *value, *action;
        unsigned state; // with the keyboard; without it, nothing is focused
    } rows[] = {
        {Language::English, 0, false, "Board", nullptr, nullptr, kItemFocusable | kItemFocused},
        {Language::English, 121, false, "String 6, fret 1", "1", "Make root",
         kItemFocusable | kItemFocused},
        {Language::English, 122, true, "String 6, fret 2", "", "Make root", kItemFocusable},
        {Language::English, 146, false, "b2", "b2", "Hide", kItemChecked},
        {Language::English, 146, true, "b2", "b2", "Show", 0},
        {Language::Russian, 0, false, "Гриф", nullptr, nullptr, kItemFocusable | kItemFocused},
        {Language::Russian, 144, false, "Струна 6, лад 24", "7", "Сделать тоникой", kItemFocusable},
        {Language::Russian, 146, false, "b2", "b2", "Скрыть", kItemChecked},
        {Language::Russian, 146, true, "b2", "b2", "Показать", 0},
    };
    for (const auto& row : rows) {
        Fretboard board = boardWith(row.hidden);
        const BoardItem item = boardItem(row.item);
        std::string value = "unset", action = "unset";
        EXPECT_EQ(itemName(board, item, row.language), row.name) << row.item;
        EXPECT_EQ(itemValue(board, item, value), row.value != nullptr) << row.item;
        EXPECT_EQ(value, row.value != nullptr ? row.value : "unset") << row.item;
        EXPECT_EQ(itemAction(board, item, row.language, action), row.action != nullptr);
        EXPECT_EQ(action, row.action != nullptr ? row.action : "unset") << row.item;
        EXPECT_EQ(itemState(board, item, true), row.state) << row.item;
        EXPECT_EQ(itemState(board, item, false), row.state & ~kItemFocused) << row.item;
    }
}

// Cells are numbered 1 + 24 * string + fret, boxes 145..156; 0 is the board, or nothing.
TEST(BoardDescription, NavigationWalksTheNeckAndThePalette) {
    using D = Direction;
    const struct {
        long from;
        Direction direction;
        long to;
    } rows[] = {
        {0, D::FirstChild, 1},   {0, D::LastChild, 156}, {0, D::Next, 0},
        {0, D::Up, 0},           {1, D::Next, 2},        {1, D::Previous, 0},
        {24, D::Next, 25},       {25, D::Previous, 24},  {144, D::Next, 145},
        {145, D::Previous, 144}, {156, D::Next, 0},      {1, D::FirstChild, 0},
        {30, D::Up, 6},          {30, D::Down, 54},      {30, D::Left, 29},
        {30, D::Right, 31},      {5, D::Up, 0},          {1, D::Left, 0},
        {24, D::Right, 0},       {121, D::Down, 0},      {126, D::Down, 0},
        {127, D::Down, 145},     {138, D::Down, 156},    {139, D::Down, 0},
        {145, D::Up, 127},       {156, D::Up, 138},      {145, D::Left, 0},
        {145, D::Right, 146},    {156, D::Right, 0},     {150, D::Down, 0},
        {157, D::Previous, 0},   {-1, D::Next, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(navigate(row.from, row.direction), row.to)
            << row.from << " " << static_cast<int>(row.direction);
    }
}

// Only a shown interval with two names takes its other one; its own is no change.
TEST(BoardDescription, RespellingTakesTheOtherSpellingOfAShownInterval) {
    const struct {
        long item;
        bool hidden;
        const char* spelling;
        Respelling result;
        const char* after;
    } rows[] = {
        {146, false, "#1", Respelling::Respelled, "#1"},
        {146, false, "b2", Respelling::Unchanged, "b2"},
        {146, true, "#1", Respelling::Refused, "b2"},
        {148, false, "#1", Respelling::Refused, "b3"}, // another interval's
        {145, false, "#7", Respelling::Refused, "1"},  // one spelling only
        {1, false, "1", Respelling::Refused, "1"},
    };
    for (const auto& row : rows) {
        Fretboard board = boardWith(row.hidden);
        const BoardItem item = boardItem(row.item);
        EXPECT_EQ(respellTo(board, item, row.spelling), row.result) << row.item << row.spelling;
        std::string value;
        itemValue(board, item, value);
        EXPECT_EQ(value, row.after) << row.item << row.spelling;
    }
}

} // namespace
} // namespace modalscope
