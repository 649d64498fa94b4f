// What the board tells assistive technology about its items: names, values, states and
// actions in the user's language, what an action does, where each direction leads, and
// which events a change raises. Plain arithmetic on the model; the accessible object in
// app/ only translates these into the platform's calls.
#pragma once

#include <string>

#include "model/board_items.h"

namespace modalscope {

// The language of names and actions; the interval captions are the same in every one.
enum class Language { English, Russian };

// State bits of an item.
constexpr unsigned kItemFocusable = 1;
constexpr unsigned kItemFocused = 2;
constexpr unsigned kItemChecked = 4;

// Text is UTF-8. The board (kind None) has a name and a state only; a cell's value is what
// it shows, a box's the spelling it shows.
std::string itemName(const Fretboard& board, const BoardItem& item, Language language);
bool itemValue(const Fretboard& board, const BoardItem& item, std::string& value);
// `keyboard`: the window has the keyboard focus, which the board and its root cell share.
unsigned itemState(const Fretboard& board, const BoardItem& item, bool keyboard);
bool itemAction(const Fretboard& board, const BoardItem& item, Language language,
                std::string& action);

// A cell becomes the root, a box is shown or hidden, as a left click does; false for the
// board, which has no action.
bool doItemAction(Fretboard& board, const BoardItem& item);

// Setting a box's value: its other spelling takes it (as a right click), its own is no change.
enum class Respelling { Unchanged, Respelled, Refused };
Respelling respellTo(Fretboard& board, const BoardItem& item, const std::string& spelling);

// From the board (0) to its first or last item; from an item to its neighbour in reading
// order (the cells string by string, fret by fret, then the boxes), or on the screen: one
// string up or down, one fret left or right, from the bottom string to the box beneath and
// back. 0 where there is none.
enum class Direction { Next, Previous, FirstChild, LastChild, Up, Down, Left, Right };
long navigate(long from, Direction direction);

// What the events have told listeners so far: the root and the palette.
struct Announced {
    int string = 5;
    int fret = 0;
    IntervalPalette palette;
};
Announced announcedOf(const Fretboard& board);

enum class ItemEventKind { Focus, StateChange, NameChange };
struct ItemEvent {
    ItemEventKind kind = ItemEventKind::Focus;
    long item = 0;
};
// The events between what was told and the board now, in the order they are raised: the
// root cell's focus when the root moved while the window has the keyboard, then for each
// box a state change if it was shown or hidden and a name change if it was respelled.
struct ItemEvents {
    int count = 0;
    ItemEvent events[1 + 2 * kIntervalCount];
};
ItemEvents changeEvents(const Announced& told, const Fretboard& board, bool keyboard);

} // namespace modalscope
