// Names, states, actions, directions and events of the board's items.
#include "model/board_description.h"

namespace modalscope {

namespace {

struct Words {
    const char* string; // "String 1, fret 1"
    const char* fret;
    const char* board;
    const char* makeRoot;
    const char* hide;
    const char* show;
};

// As a guitarist says them: in Russian a string is "струна", a fret "лад", the root of a
// scale its "тоника".
constexpr Words kEnglish = {"String ", ", fret ", "Board", "Make root", "Hide", "Show"};
constexpr Words kRussian = {"Струна ", ", лад ", "Гриф", "Сделать тоникой", "Скрыть", "Показать"};

const Words& wordsFor(Language language) {
    return language == Language::Russian ? kRussian : kEnglish;
}

const MarkerSlot& slotOf(const Fretboard& board, const BoardItem& item) {
    return board.palette().current[item.slot];
}

bool isRoot(const Fretboard& board, const BoardItem& item) {
    return item.string == board.cursorString() && item.fret == board.cursorFret();
}

long cellOrNone(int string, int fret) {
    return string >= 0 && string < kStringCount && fret >= 0 && fret < kFretCount
               ? cellNumber(string, fret)
               : 0;
}

long boxOrNone(int slot) {
    return slot >= 0 && slot < kIntervalCount ? boxNumber(slot) : 0;
}

long fromCell(const BoardItem& cell, Direction direction) {
    switch (direction) {
    case Direction::Up:
        return cellOrNone(cell.string - 1, cell.fret);
    case Direction::Down:
        return cell.string == kStringCount - 1 ? boxOrNone(cell.fret - kPaletteFirstColumn)
                                               : cellOrNone(cell.string + 1, cell.fret);
    case Direction::Left:
        return cellOrNone(cell.string, cell.fret - 1);
    case Direction::Right:
        return cellOrNone(cell.string, cell.fret + 1);
    default:
        return 0;
    }
}

long fromBox(const BoardItem& box, Direction direction) {
    switch (direction) {
    case Direction::Up:
        return cellNumber(kStringCount - 1, kPaletteFirstColumn + box.slot);
    case Direction::Left:
        return boxOrNone(box.slot - 1);
    case Direction::Right:
        return boxOrNone(box.slot + 1);
    default:
        return 0;
    }
}

} // namespace

std::string itemName(const Fretboard& board, const BoardItem& item, Language language) {
    const Words& words = wordsFor(language);
    switch (item.kind) {
    case ItemKind::Cell:
        return words.string + std::to_string(item.string + 1) + words.fret +
               std::to_string(item.fret + 1);
    case ItemKind::Box:
        return markerCaption(slotOf(board, item).marker);
    default:
        return words.board;
    }
}

bool itemValue(const Fretboard& board, const BoardItem& item, std::string& value) {
    switch (item.kind) {
    case ItemKind::Cell:
        value = cellCaption(board, item.string, item.fret);
        return true;
    case ItemKind::Box:
        value = markerCaption(slotOf(board, item).marker);
        return true;
    default:
        return false;
    }
}

unsigned itemState(const Fretboard& board, const BoardItem& item, bool keyboard) {
    switch (item.kind) {
    case ItemKind::Cell:
        return kItemFocusable | (keyboard && isRoot(board, item) ? kItemFocused : 0);
    case ItemKind::Box:
        return slotOf(board, item).visible ? kItemChecked : 0;
    default:
        return kItemFocusable | (keyboard ? kItemFocused : 0);
    }
}

bool itemAction(const Fretboard& board, const BoardItem& item, Language language,
                std::string& action) {
    const Words& words = wordsFor(language);
    switch (item.kind) {
    case ItemKind::Cell:
        action = words.makeRoot;
        return true;
    case ItemKind::Box:
        action = slotOf(board, item).visible ? words.hide : words.show;
        return true;
    default:
        return false;
    }
}

bool doItemAction(Fretboard& board, const BoardItem& item) {
    switch (item.kind) {
    case ItemKind::Cell:
        board.chooseRoot(item.string, item.fret);
        return true;
    case ItemKind::Box:
        board.toggle(item.slot);
        return true;
    default:
        return false;
    }
}

Respelling respellTo(Fretboard& board, const BoardItem& item, const std::string& spelling) {
    if (item.kind != ItemKind::Box) {
        return Respelling::Refused;
    }
    const MarkerSlot& now = slotOf(board, item);
    if (spelling == markerCaption(now.marker)) {
        return Respelling::Unchanged;
    }
    // A hidden interval keeps its spelling, as it does for a right click.
    const MarkerId other = board.palette().alternate[item.slot].marker;
    if (other == 0 || !now.visible || spelling != markerCaption(other)) {
        return Respelling::Refused;
    }
    board.respell(item.slot);
    return Respelling::Respelled;
}

long navigate(long from, Direction direction) {
    const BoardItem item = boardItem(from);
    if (item.kind == ItemKind::None) {
        if (from != 0) {
            return 0;
        }
        return direction == Direction::FirstChild  ? 1
               : direction == Direction::LastChild ? kItemCount
                                                   : 0;
    }
    switch (direction) {
    case Direction::Next:
        return from < kItemCount ? from + 1 : 0;
    case Direction::Previous:
        return from - 1; // 0 before the first cell
    case Direction::FirstChild:
    case Direction::LastChild:
        return 0; // an item has no children
    default:
        return item.kind == ItemKind::Cell ? fromCell(item, direction) : fromBox(item, direction);
    }
}

Announced announcedOf(const Fretboard& board) {
    return {board.cursorString(), board.cursorFret(), board.palette()};
}

ItemEvents changeEvents(const Announced& told, const Fretboard& board, bool keyboard) {
    ItemEvents out;
    if (keyboard && (board.cursorString() != told.string || board.cursorFret() != told.fret)) {
        out.events[out.count++] = {ItemEventKind::Focus,
                                   cellNumber(board.cursorString(), board.cursorFret())};
    }
    for (int k = 0; k < kIntervalCount; ++k) {
        const MarkerSlot& now = board.palette().current[k];
        const MarkerSlot& before = told.palette.current[k];
        if (now.visible != before.visible) {
            out.events[out.count++] = {ItemEventKind::StateChange, boxNumber(k)};
        }
        if (now.marker != before.marker) {
            out.events[out.count++] = {ItemEventKind::NameChange, boxNumber(k)};
        }
    }
    return out;
}

} // namespace modalscope
