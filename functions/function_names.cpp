#include "functions/function_names.h"

#include <array>
#include <cstddef>

#include "core/name_match.h"

namespace morven {
namespace {

constexpr int kFirstCode = 0x21;
constexpr int kLastCode = 0xFE;

// Listing names of the built-in functions, indexed by code. nullptr marks the codes
// without a built-in function (user-defined functions); they are named "FN" and the
// code in hex by kUserNames below.
constexpr std::array<const char*, 256> kBuiltinNames = [] {
  std::array<const char*, 256> n{};
  n[0x21] = "PARF";
  n[0x24] = "PARS";
  n[0x25] = "PARI";
  n[0x26] = "PARL";
  n[0x33] = "CREATEWINDOW";
  n[0x34] = "HEX";
  n[0x35] = "OCT";
  n[0x36] = "BIN";
  n[0x37] = "LEFT";
  n[0x38] = "RIGHT";
  n[0x39] = "REPEAT";
  n[0x3A] = "SPACE";
  n[0x3B] = "BITTEST";
  n[0x3C] = "BITSET";
  n[0x3D] = "RUNWAIT";
  n[0x3E] = "CLIENTHEIGHT";
  n[0x3F] = "CLIENTWIDTH";
  n[0x40] = "DLGITEM";
  n[0x41] = "LOADSTRING";
  n[0x42] = "DIALOGBOX";
  n[0x43] = "AREAREADFILE";
  n[0x44] = "FORMAT";
  n[0x45] = "XOR";
  n[0x46] = "AREASTRN";
  n[0x47] = "MEMOREAD";
  n[0x48] = "MEMOWRITE";
  n[0x49] = "FULLPATH";
  n[0x4A] = "SHORTPATH";
  n[0x4B] = "POSTMSG";
  n[0x4C] = "SENDKEYS";
  n[0x4D] = "RED";
  n[0x4E] = "GREEN";
  n[0x4F] = "BLUE";
  n[0x50] = "SCROLLBAR";
  n[0x51] = "SCROLLBAR2";
  n[0x52] = "SCROLLPOS";
  n[0x53] = "COMERROR";
  n[0x54] = "COMSETUP";
  n[0x55] = "COMMODE";
  n[0x56] = "FILEATTR";
  n[0x57] = "FILEDATE";
  n[0x58] = "PORTIN";
  n[0x59] = "AREASTR";
  n[0x5A] = "AREALONG";
  n[0x5B] = "AREAWORD";
  n[0x5C] = "AREABYTE";
  n[0x5D] = "FILEREADBYTE";
  n[0x5E] = "FILEPOS";
  n[0x5F] = "FILESIZE";
  n[0x62] = "REPLACE";
  n[0x63] = "ROUND";
  n[0x64] = "COMBOFILL";
  n[0x65] = "LISTFILL";
  n[0x66] = "COMBOADD";
  n[0x67] = "LISTTOTEXT";
  n[0x68] = "EDITLINE";
  n[0x69] = "EDITLINES";
  n[0x6A] = "LISTDELETE";
  n[0x6B] = "COMBODELETE";
  n[0x6C] = "LISTCOUNT";
  n[0x6D] = "LISTINDEX";
  n[0x6E] = "LISTTEXT";
  n[0x6F] = "LISTINSERT";
  n[0x70] = "LISTSELECT";
  n[0x71] = "LISTADD";
  n[0x72] = "COMBOBOX";
  n[0x73] = "LISTBOX2";
  n[0x74] = "LISTBOX";
  n[0x75] = "MULTIEDIT";
  n[0x76] = "SCRAMBLE";
  n[0x77] = "COMOPEN";
  n[0x78] = "COMCLOSE";
  n[0x79] = "COMWRITE";
  n[0x7A] = "COMREAD";
  n[0x7B] = "ICONCOUNT";
  n[0x7C] = "EDITDIALOG";
  n[0x7D] = "SQLCONNECT";
  n[0x7E] = "PART";
  n[0x7F] = "LOWER";
  n[0x80] = "LOADDLL";
  n[0x81] = "ADD";
  n[0x82] = "SUB";
  n[0x83] = "MUL";
  n[0x84] = "DIV";
  n[0x85] = "IDIV";
  n[0x86] = "MOD";
  n[0x87] = "AND";
  n[0x88] = "OR";
  n[0x89] = "NE";
  n[0x8A] = "EQ";
  n[0x8B] = "GT";
  n[0x8C] = "LT";
  n[0x8D] = "STREQ";
  n[0x8E] = "STRNE";
  n[0x8F] = "STRLT";
  n[0x90] = "STRGT";
  n[0x91] = "CHR";
  n[0x92] = "CONCAT";
  n[0x93] = "MID";
  n[0x94] = "DELETE";
  n[0x95] = "INSERT";
  n[0x96] = "LEN";
  n[0x97] = "POS";
  n[0x98] = "ASC";
  n[0x99] = "TRIM";
  n[0x9A] = "STR";
  n[0x9B] = "MSGBOX";
  n[0x9C] = "LISTDIALOG";
  n[0x9D] = "LISTRESULT";
  n[0x9E] = "OPENDIALOG";
  n[0x9F] = "SAVEDIALOG";
  n[0xA0] = "INPUTBOX";
  n[0xA1] = "UPPER";
  n[0xA2] = "NOT";
  n[0xA3] = "ABS";
  n[0xA4] = "COS";
  n[0xA5] = "SIN";
  n[0xA6] = "EXP";
  n[0xA7] = "LN";
  n[0xA8] = "SQR";
  n[0xA9] = "SQRT";
  n[0xAA] = "ATN";
  n[0xAB] = "PI";
  n[0xAC] = "INT";
  n[0xAD] = "RND";
  n[0xAE] = "RGB";
  n[0xAF] = "INKEY";
  n[0xB0] = "GETKEY";
  n[0xB1] = "KEYIN";
  n[0xB2] = "MOUSEIN";
  n[0xB3] = "MOUSEINCELL";
  n[0xB4] = "MOUSEBUTTON";
  n[0xB5] = "KEYCODE";
  n[0xB6] = "MCI";
  n[0xB7] = "ARRAYINT";
  n[0xB8] = "ARRAYLONG";
  n[0xB9] = "ARRAYFLOAT";
  n[0xBA] = "ARRAYSTR";
  n[0xBC] = "PARAMSTR";
  n[0xBD] = "VAL";
  n[0xBE] = "ANSITOOEM";
  n[0xBF] = "OEMTOANSI";
  n[0xC0] = "DISKSIZE";
  n[0xC1] = "DISKFREE";
  n[0xC2] = "CURDIR";
  n[0xC3] = "FINDFIRST";
  n[0xC4] = "FINDNEXT";
  n[0xC5] = "FSIZE";
  n[0xC6] = "EOF";
  n[0xC7] = "READPROFILE";
  n[0xC8] = "IIF";
  n[0xC9] = "TIME";
  n[0xCA] = "DATE";
  n[0xCB] = "GETPIXEL";
  n[0xCC] = "CLIPTEXT";
  n[0xCD] = "LOG";
  n[0xCE] = "TAN";
  n[0xCF] = "COT";
  n[0xD0] = "POW";
  n[0xD1] = "DIRDIALOG";
  n[0xD2] = "DBOPEN";
  n[0xD3] = "DBSELECT";
  n[0xD4] = "DBGO";
  n[0xD5] = "DBCLOSE";
  n[0xD6] = "DBFIELD";
  n[0xD7] = "DBFIELDN";
  n[0xD8] = "DBINDEX";
  n[0xDB] = "DBSEEK";
  n[0xDC] = "DBLOCATE";
  n[0xDD] = "DBPUT";
  n[0xDE] = "DBPUTN";
  n[0xDF] = "DBWRITE";
  n[0xE0] = "DBDELETE";
  n[0xE1] = "DBRECALL";
  n[0xE2] = "DBPACK";
  n[0xE3] = "DBAPPEND";
  n[0xE4] = "DTOC";
  n[0xE5] = "CTOD";
  n[0xE6] = "SENDMSG";
  n[0xE7] = "FINDWINDOW";
  n[0xE8] = "ACTIVEWINDOW";
  n[0xE9] = "ACTIVATE";
  n[0xEA] = "SHOWWINDOW";
  n[0xEB] = "SETFOCUS";
  n[0xEC] = "HASFOCUS";
  n[0xED] = "DESTROYWINDOW";
  n[0xEE] = "BUTTON";
  n[0xEF] = "BUTTON2";
  n[0xF0] = "BUTTON3";
  n[0xF1] = "BUTTON4";
  n[0xF2] = "BUTTON5";
  n[0xF3] = "STATIC";
  n[0xF4] = "STATIC2";
  n[0xF5] = "EDIT";
  n[0xF6] = "DIALOG";
  n[0xF7] = "CREATEDIALOG";
  n[0xF8] = "GETTEXT";
  n[0xF9] = "CHECKED";
  n[0xFA] = "PORTINW";
  n[0xFB] = "GETENV";
  n[0xFC] = "SENDVKEY";
  n[0xFD] = "SHELL";
  n[0xFE] = "VOID";
  return n;
}();

// "FN" and two upper-case hex digits for every code, used where there is no built-in.
struct UserName {
  char text[5];
};
constexpr std::array<UserName, 256> kUserNames = [] {
  std::array<UserName, 256> names{};
  constexpr char kHex[] = "0123456789ABCDEF";
  for (int code = 0; code < 256; ++code) {
    names[code] = UserName{{'F', 'N', kHex[code >> 4], kHex[code & 0xF], '\0'}};
  }
  return names;
}();

constexpr const char* NameOf(int code) {
  if (code < kFirstCode || code > kLastCode) return nullptr;
  return kBuiltinNames[code] != nullptr ? kBuiltinNames[code] : kUserNames[code].text;
}

// Names are identifiers [A-Z][A-Z0-9_]*, unique, and no built-in name has the form
// that user-defined codes use; exactly the codes of the code table are built in.
constexpr bool NamesWellFormed() {
  int builtin = 0;
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    std::string_view name = NameOf(code);
    if (name.empty() || name[0] < 'A' || name[0] > 'Z') return false;
    for (char c : name) {
      if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    }
    for (int other = code + 1; other <= kLastCode; ++other) {
      if (SameIgnoringCase(name, NameOf(other))) return false;
    }
    if (kBuiltinNames[code] != nullptr) ++builtin;
  }
  return builtin == 0xFE - 0x21 + 1 - 2 - 12 - 2 - 1 - 2;  // minus 0x22-23, 0x27-32, 0x60-61, 0xBB, 0xD9-DA
}
static_assert(NamesWellFormed(), "function names must be unique identifiers");

}  // namespace

bool HasBuiltinFunction(uint8_t code) { return kBuiltinNames[code] != nullptr; }

const char* FunctionName(uint8_t code) { return NameOf(code); }

int FindFunctionByName(std::string_view name) {
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    if (SameIgnoringCase(name, NameOf(code))) return code;
  }
  return -1;
}

}  // namespace morven
