// The numbered messages between a grid window and the code around it: the requests a grid
// answers and the notifications it sends, with what each carries. The numbers are fixed
// because hosts and the library above send and answer them by number.
#pragma once

#include "platform/ui/Types.h"

#include <cstdint>

namespace plat {
class DC;
class Wnd;
} // namespace plat

// ---- requests a grid answers (wParam / lParam; result) ----
inline constexpr plat::UINT MOXM_GETCELLCOUNT = 1025;     // long* columns out / long* rows out
inline constexpr plat::UINT MOXM_SETCOLWIDTH = 1027;      // column / width in pixels
inline constexpr plat::UINT MOXM_GETCELLRECT = 1031;      // const MoxPos* / RECT* out, empty when not shown
inline constexpr plat::UINT MOXM_SETFIXEDCOLWIDTH = 1035; // width of the row-number column / 0
inline constexpr plat::UINT MOXM_FIXEDCOLDONE = 1036;     // -1 / 0, after the row-number column is set up
inline constexpr plat::UINT MOXM_GETFIXEDROWCOUNT = 1042; // 0 / 0; heading rows above the data
inline constexpr plat::UINT MOXM_GETFIXEDCOLWIDTH = 1057; // 0 / 0; width of the row-number column
inline constexpr plat::UINT MOXM_SETCOLFORMAT = 1060;     // column / 1: the column's cells are owner-drawn
inline constexpr plat::UINT MOXM_QUERYEDITTEXT = 1062;    // column / 0; non-zero: fill a plain editor with the text
inline constexpr plat::UINT MOXM_GETTOPLEFT = 1066;       // MoxPos* out / 0; first visible cell
inline constexpr plat::UINT MOXM_SETCARET = 1067;         // const MoxPos* / 0
inline constexpr plat::UINT MOXM_GETCARET = 1068;         // MoxPos* out / 0
inline constexpr plat::UINT MOXM_SETSELECTION = 1069;     // const MoxRectArray* / 0
inline constexpr plat::UINT MOXM_GETSELECTION = 1070;     // std::vector<uint8_t>* flags out or 0 / 0;
                                                          // result: const MoxRectArray*
inline constexpr plat::UINT MOXM_SETLINEMARK = 1074;      // 1 or 0 / 0
inline constexpr plat::UINT MOXM_SETSEARCHMARK = 1076;    // 1 or 0 / 0
inline constexpr plat::UINT MOXM_BEGINFORMAT = 1081;      // 1 / 0; column formats follow
inline constexpr plat::UINT MOXM_SETCOLSTYLE = 1082;      // column / style flags
inline constexpr plat::UINT MOXM_SETDATA = 1084;          // MoxData* / 0
inline constexpr plat::UINT MOXM_REBUILDCOLUMNS = 1085;   // 0 / 0
inline constexpr plat::UINT MOXM_ISEDITING = 1088;        // 0 / 0
inline constexpr plat::UINT MOXM_OPENEDITOR = 1089;       // 0 / 0; on the caret cell
inline constexpr plat::UINT MOXM_CLOSEEDITOR = 1090;      // 1 keeps the text, 0 drops it / 0
inline constexpr plat::UINT MOXM_GETEDITOR = 1095;        // 0 / 0; result: plat::Wnd* or 0
inline constexpr plat::UINT MOXM_SETEXTDATA = 1096;       // pointer / 0
inline constexpr plat::UINT MOXM_GETEXTDATA = 1097;       // void** out or 0 / 0; result: the pointer
inline constexpr plat::UINT MOXM_COPY = 1098;             // 0 / 0; non-zero when copied
inline constexpr plat::UINT MOXM_CLEAR = 1099;            // 0 / 0
inline constexpr plat::UINT MOXM_PASTE = 1100;            // 0 / 0
inline constexpr plat::UINT MOXM_CANPASTE = 1101;         // 0 / 0
inline constexpr plat::UINT MOXM_GETCOLOR = 1109;         // MoxColorIndex / 0; result: COLORREF
inline constexpr plat::UINT MOXM_GETFONT = 1111;          // 0 or 1 / 0; result: plat::Font*
inline constexpr plat::UINT MOXM_PRINT = 1115;            // plat::DC* / MOX_PRINT* or 0; result: pages printed

// ---- notifications a grid sends (wParam / lParam; answer) ----
// A grid sends each to itself first, so that a class derived from the grid answers it in its
// own message map; one that nobody in the grid's maps answers goes on to the parent window.
// Where an answer can refuse, 0 allows and non-zero refuses; unanswered, everything is
// allowed, no text is supplied and no brush is given.
inline constexpr plat::UINT MOXN_USERRESIZE = 1033;    // column / new width
inline constexpr plat::UINT MOXN_FIXEDCOLTEXT = 1052;  // const MoxPos* (0, row) / std::string* out
inline constexpr plat::UINT MOXN_FIXEDROWTEXT = 1053;  // const MoxPos* (column, 0) / std::string* out
inline constexpr plat::UINT MOXN_FIXEDCELLTEXT = 1054; // const MoxPos* (0, 0) / std::string* out
inline constexpr plat::UINT MOXN_DRAWITEM = 1061;      // const MOX_DRAWITEMSTRUCT* / 0
inline constexpr plat::UINT MOXN_SELCHANGING = 1071;   // const MoxPos* from / const MoxPos* to
inline constexpr plat::UINT MOXN_SELCHANGED = 1072;    // const MoxPos* from / const MoxPos* to
inline constexpr plat::UINT MOXN_GETCONTROL = 1087;    // MOX_GETCONTROL* / 0; non-zero: supplied
inline constexpr plat::UINT MOXN_BEGINEDIT = 1092;     // const MoxPos* / 0
inline constexpr plat::UINT MOXN_SHOWEDIT = 1093;      // const MoxPos* / plat::Wnd* editor
inline constexpr plat::UINT MOXN_ENDEDIT = 1094;       // const MoxPos* / 0
inline constexpr plat::UINT MOXN_QUERYPASTE = 1102;    // column / row
inline constexpr plat::UINT MOXN_BEGINCOPY = 1103;
inline constexpr plat::UINT MOXN_ENDCOPY = 1104;
inline constexpr plat::UINT MOXN_BEGINDELETE = 1105;
inline constexpr plat::UINT MOXN_ENDDELETE = 1106;
inline constexpr plat::UINT MOXN_BEGINPASTE = 1107;
inline constexpr plat::UINT MOXN_ENDPASTE = 1108;
// After MOXN_ENDEDIT allowed the editor to close: the grid has stored its value, or found
// none to store or had the store refused.
inline constexpr plat::UINT MOXN_EDITSTORED = 1120; // const MoxPos* / 0
inline constexpr plat::UINT MOXN_CTLCOLOR = 1113; // const MoxPos* / plat::DC*; answer: plat::Brush* or 0

// What MOXN_DRAWITEM carries: the cell to draw, on the grid's device context.
// What a print job says of itself, and what the grid tells back of how it laid the pages out.
struct MOX_PRINT {
    const char* title = nullptr; // the title line's document name; none: no name on the line
    const char* date = nullptr;  // the date as the title line shows it
    int columnPages = 0;         // out: pages side by side that the columns took (1: all on one)
};

struct MOX_DRAWITEMSTRUCT {
    plat::UINT itemAction = 0; // not used by the grid's answerers
    long column = 0;
    long row = 0;
    plat::DC* dc = nullptr;
    plat::RECT rect;
};

// What MOXN_GETCONTROL carries: the cell, and where the answerer puts the editor window
// (null with a non-zero answer: the cell changed without an editor).
struct MOX_GETCONTROL {
    std::int32_t column = 0;
    std::int32_t row = 0;
    plat::Wnd* editor = nullptr;
};

// The colours MOXM_GETCOLOR answers.
enum MoxColorIndex : int {
    MOXC_WINDOW = 0,
    MOXC_TEXT = 1,
    MOXC_HEADING = 2,
    MOXC_HEADINGTEXT = 3,
    MOXC_SELECTION = 4,
    MOXC_DISABLED = 5, // the background of disabled cells
    MOXC_CARET = 6,
    MOXC_LINEMARK = 7,
    MOXC_SEARCH = 8,
    MOXC_SELECTIONTEXT = 9,
    MOXC_COUNT
};
