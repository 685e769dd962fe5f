#include "functions/system_variable_names.h"

#include <array>
#include <cstddef>

#include "core/name_match.h"

namespace morven {
namespace {

constexpr int kFirstCode = 0x81;
constexpr int kLastCode = 0xC9;

// Listing names of the system variables, indexed by code - 0x81.
constexpr std::array<const char*, kLastCode - kFirstCode + 1> kNames = {
    "DIALOGRESULT",    // 0x81 result of the last message box or standard dialog
    "INPUTINT",        // 0x82 last value of the line-input command: integer form
    "INPUTLONG",       // 0x83   long form
    "INPUTFLOAT",      // 0x84   float form
    "INPUTSTR",        // 0x85   string form
    "LISTLAST",        // 0x86 index of the last StringList entry
    "INPUTBOXTEXT",    // 0x87 text of the last confirmed input box
    "DIALOGCHOICE",    // 0x88 choice of the last confirmed list or file dialog
    "MOUSEX",          // 0x89
    "MOUSEY",          // 0x8A
    "MOUSEBUTTON",     // 0x8B button state, flags cleared by the read
    "MENUCOMMAND",     // 0x8C
    "MCIERROR",        // 0x8D
    "KEYCHAR",         // 0x8E
    "KEYDOWN",         // 0x8F
    "TARGETDC",        // 0x90
    "MIRRORDC",        // 0x91
    "MAINWINDOW",      // 0x92
    "IORESULT",        // 0x93
    "ERRORSTATE",      // 0x94
    "CURDRIVE",        // 0x95
    "LISTINDEX",       // 0x96 item last selected in the list box dialog
    "WINDIR",          // 0x97
    "SYSDIR",          // 0x98
    "DOSVERSION",      // 0x99
    "WINVERSION",      // 0x9A
    "WINTOP",          // 0x9B
    "WINBOTTOM",       // 0x9C
    "WINLEFT",         // 0x9D
    "WINRIGHT",        // 0x9E
    "FOCUSWINDOW",     // 0x9F
    "DBRECCOUNT",      // 0xA0
    "DBHEADERLEN",     // 0xA1
    "DBRECLEN",        // 0xA2
    "DBRECNO",         // 0xA3
    "DBFIELDCOUNT",    // 0xA4
    "DBUPDATED",       // 0xA5
    "DBFIELDTYPE",     // 0xA6
    "DBFIELDDEC",      // 0xA7
    "DBFIELDLEN",      // 0xA8
    "DBFIELDNO",       // 0xA9
    "DBFIELDNAME",     // 0xAA
    "DBDELETED",       // 0xAB
    "DBEOF",           // 0xAC
    "SCREENWIDTH",     // 0xAD
    "SCREENHEIGHT",    // 0xAE
    "DESKTOP",         // 0xAF
    "PARAMCOUNT",      // 0xB0
    "INPUTSEEN",       // 0xB1
    "MOUSESTATE",      // 0xB2 as MOUSEBUTTON, flags kept
    "MSGWAITING",      // 0xB3
    "MSGWINDOW",       // 0xB4
    "MSGNUMBER",       // 0xB5
    "MSGWPARAM",       // 0xB6
    "MSGLPARAM",       // 0xB7
    "SQLROWS",         // 0xB8
    "BMPWIDTH",        // 0xB9
    "BMPHEIGHT",       // 0xBA
    "LASTERROR",       // 0xBB
    "COLORDEPTH",      // 0xBC
    "BMPCOLORS",       // 0xBD
    "FONTHANDLE",      // 0xBE
    "TRUE",            // 0xBF the constant 1
    "TICKS",           // 0xC0
    "PARTNERWINDOW",   // 0xC1
    "DBHASMEMO",       // 0xC2
    "DBVERSION",       // 0xC3
    "VERSION",         // 0xC4
    "ARGCOUNT",        // 0xC5
    "INSTANCE",        // 0xC6
    "TIMERFIRED",      // 0xC7
    "PAINTREQUESTED",  // 0xC8
    "ONE",             // 0xC9 the constant 1
};

constexpr bool NamesWellFormed() {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == nullptr) return false;
    std::string_view name = kNames[i];
    if (name.empty() || name[0] < 'A' || name[0] > 'Z') return false;
    for (char c : name) {
      if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    }
    for (size_t j = i + 1; j < kNames.size(); ++j) {
      if (SameIgnoringCase(name, kNames[j])) return false;
    }
  }
  return true;
}
static_assert(NamesWellFormed(), "system variable names must be unique identifiers");

}  // namespace

const char* SystemVariableName(uint8_t code) {
  if (code < kFirstCode || code > kLastCode) return nullptr;
  return kNames[code - kFirstCode];
}

int FindSystemVariableByName(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (SameIgnoringCase(name, kNames[i])) return static_cast<int>(kFirstCode + i);
  }
  return -1;
}

}  // namespace morven
