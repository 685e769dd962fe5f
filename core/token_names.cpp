#include "core/token_names.h"

#include <array>
#include <cstddef>

#include "core/name_match.h"

namespace morven {
namespace {

// One entry per token byte. Where the runtime names a command itself (in a message
// detail or text) that keyword is used; the other names are ours. nullptr marks the
// tokens without a handler: the line is a user procedure call and listings write the
// token as its hex value (0xFF alone is called CALL).
constexpr std::array<const char*, 256> kMnemonics = [] {
  std::array<const char*, 256> m{};
  m[0x27] = "NOP";
  m[0x40] = "EVAL";
  m[0x42] = "SCREEN";
  m[0x43] = "COPYBMPTOMEM";
  m[0x44] = "DOEVENT";
  m[0x45] = "FREELIBRARY";
  m[0x46] = "MCLS";
  m[0x47] = "SAVEBMPTOCLIP";
  m[0x48] = "CLIPLOADBMP";
  m[0x49] = "LOADMENU";
  m[0x4A] = "RESCURSOR";
  m[0x4B] = "MCOPYSIZEDBMP";
  m[0x4C] = "DRAWSIZEDEXTBMP";
  m[0x4D] = "DRAWEXTBMP";
  m[0x4E] = "KILLTIMER";
  m[0x4F] = "SETTIMER";
  m[0x50] = "PAINTMODE";
  m[0x51] = "ENDPAINT";
  m[0x52] = "STARTPAINT";
  m[0x53] = "NEWPAGE";
  m[0x54] = "WRITEAREA";
  m[0x55] = "POKETEXT";
  m[0x56] = "POKELONG";
  m[0x57] = "ENDPARTNER";
  m[0x58] = "POSTTEXT";
  m[0x59] = "SENDATOMS";
  m[0x5A] = "EVAL1";
  m[0x5B] = "SETSCROLLPOS";
  m[0x5C] = "SETSCROLLRANGE";
  m[0x5D] = "TRUECOLOR";
  m[0x5E] = "SETMENUCOMMAND";
  m[0x5F] = "ENABLEWINDOW";
  m[0x60] = "EXITWINDOWS";
  m[0x61] = "INSERTMENU";
  m[0x62] = "CHECKMENU";
  m[0x63] = "ENABLEMENU";
  m[0x64] = "REMOVEMENU";
  m[0x65] = "MOVEWINDOW";
  m[0x66] = "SETFILEATTR";
  m[0x67] = "WINCOPY";
  m[0x68] = "PORTOUT";
  m[0x69] = "WINHELP";
  m[0x6A] = "LOADAREA";
  m[0x6B] = "POKESTRZ";
  m[0x6C] = "POKEWORD";
  m[0x6D] = "POKEBYTE";
  m[0x6E] = "FREEAREA";
  m[0x6F] = "DIMAREA";
  m[0x70] = "BINOPEN";
  m[0x71] = "BINCLOSE";
  m[0x72] = "BINWRITE";
  m[0x73] = "BINSEEK";
  m[0x74] = "ENUMFONTS";
  m[0x75] = "FILEMODE";
  m[0x76] = "CONTROLFONT";
  m[0x77] = "STRINGKEY";
  m[0x78] = "DRAWFILEICON";
  m[0x79] = "SQLNULL";
  m[0x7A] = "SQLSEPARATORS";
  m[0x7B] = "SQLEXEC";
  m[0x7C] = "SQLDISCONNECT";
  m[0x7D] = "MCOPYBMP";
  m[0x7E] = "MLOADBMP";
  m[0x7F] = "DRAWRESICON";
  m[0x80] = "SHOWMOUSE";
  m[0x81] = "IF";
  m[0x82] = "IFNOT";
  m[0x83] = "DEFFN";
  m[0x84] = "ENDIF";
  m[0x85] = "IFBLOCK";
  m[0x86] = "ELSE";
  m[0x87] = "IFNOTBLOCK";
  m[0x88] = "WHILE";
  m[0x89] = "WHILENOT";
  m[0x8A] = "WEND";
  m[0x8B] = "RETURN";
  m[0x8C] = "ENDPROC";
  m[0x8D] = "GOTO";
  m[0x8E] = "GOSUB";
  m[0x8F] = "PROC";
  m[0x90] = "CLS";
  m[0x91] = "REPAINT";
  m[0x92] = "EXEC";
  m[0x93] = "CHAIN";
  m[0x94] = "MENUBARITEM";
  m[0x95] = "CONTEXTMENU";
  m[0x96] = "MENUITEM";
  m[0x97] = "MENUSEPARATOR";
  m[0x98] = "TRACKMENU";
  m[0x99] = "POPUP";
  m[0x9A] = "SUBPOPUP";
  m[0x9B] = "ENDSUBPOPUP";
  m[0x9C] = "PLAYWAVE";
  m[0x9D] = "LOADSIZEDBMP";
  m[0x9E] = "LOADBMP";
  m[0x9F] = "SAVEBMP";
  m[0xA0] = "COPYDBMP";
  m[0xA1] = "COPYSIZEDBMP";
  m[0xA2] = "PRINT";
  m[0xA3] = "DECIMALS";
  m[0xA4] = "STRINGWIDTH";
  m[0xA5] = "NUMBERWIDTH";
  m[0xA6] = "TEXTOUT";
  m[0xA7] = "CREATEFONT";
  m[0xA8] = "FONTCHARSET";
  m[0xA9] = "BRUSH";
  m[0xAA] = "PEN";
  m[0xAB] = "WINDOWICON";
  m[0xAC] = "STDCURSOR";
  m[0xAD] = "DRAWICON";
  m[0xAE] = "DRAWSTDICON";
  m[0xAF] = "PSET";
  m[0xB0] = "FLOODFILL";
  m[0xB1] = "LINE";
  m[0xB2] = "LINETO";
  m[0xB3] = "MOVETO";
  m[0xB4] = "RECTANGLE";
  m[0xB5] = "ROUNDRECT";
  m[0xB6] = "PIE";
  m[0xB7] = "ARC";
  m[0xB8] = "CHORD";
  m[0xB9] = "ELLIPSE";
  m[0xBA] = "TITLE";
  m[0xBB] = "PLACEWINDOW";
  m[0xBC] = "RANDOMIZE";
  m[0xBD] = "BEEP";
  m[0xBE] = "LOCATE";
  m[0xBF] = "END";
  m[0xC0] = "WAITKEY";
  m[0xC1] = "WAITCHAR";
  m[0xC2] = "WAITMOUSE";
  m[0xC3] = "WAITINPUT";
  m[0xC4] = "ARRAY%";
  m[0xC5] = "ARRAY&";
  m[0xC6] = "ARRAY!";
  m[0xC7] = "ARRAY$";
  m[0xC8] = "DIM%";
  m[0xC9] = "DIM&";
  m[0xCA] = "DIM!";
  m[0xCB] = "DIM$";
  m[0xCC] = "DECLARE";
  m[0xCD] = "INPUT";
  m[0xCE] = "LET";
  m[0xCF] = "PARAMS";
  m[0xD0] = "INC";
  m[0xD1] = "DEC";
  m[0xD2] = "ADDTO";
  m[0xD3] = "SUBFROM";
  m[0xD4] = "FILECOPY";
  m[0xD5] = "MSGBOX";
  m[0xD6] = "SHOWMAX";
  m[0xD7] = "SHOWMIN";
  m[0xD8] = "SHOWNORMAL";
  m[0xD9] = "TEXTCOLOR";
  m[0xDA] = "COLOR";
  m[0xDB] = "FONT";
  m[0xDC] = "LISTCLEAR";
  m[0xDD] = "LISTADD";
  m[0xDE] = "LISTFILES";
  m[0xDF] = "CHDIR";
  m[0xE0] = "MKDIR";
  m[0xE1] = "RMDIR";
  m[0xE2] = "TBOX";
  m[0xE3] = "TONE";
  m[0xE4] = "MIDI";
  m[0xE5] = "ASSIGN";
  m[0xE6] = "RENAME";
  m[0xE7] = "APPEND";
  m[0xE8] = "CLOSE";
  m[0xE9] = "ERASE";
  m[0xEA] = "RESET";
  m[0xEB] = "REWRITE";
  m[0xEC] = "WRITEPROFILE";
  m[0xED] = "STARTPRINT";
  m[0xEE] = "ENDPRINT";
  m[0xEF] = "ERRORMODE";
  m[0xF0] = "FONTANGLE";
  m[0xF1] = "SCREENCOPY";
  m[0xF2] = "PLAY";
  m[0xF3] = "ELSEIF";
  m[0xF4] = "LISTSET";
  m[0xF5] = "WINDOWSTYLE";
  m[0xF6] = "CLIPCLEAR";
  m[0xF7] = "CLIPTEXT";
  m[0xF8] = "MAKEINDEX";
  m[0xF9] = "MAKETABLE";
  m[0xFA] = "SETTEXT";
  m[0xFB] = "SENDMESSAGE";
  m[0xFC] = "PORTOUT2";
  m[0xFD] = "LISTWINDOWS";
  m[0xFE] = "REM";
  m[0xFF] = "CALL";
  return m;
}();

// Further spellings accepted by FindTokenByMnemonic; listings never write them.
struct Alias {
  const char* name;
  uint8_t token;
};
constexpr Alias kAliases[] = {
    {"ENDWHILE", 0x8A},
};

// A mnemonic must be one word that the listing syntax cannot confuse with anything
// else: no blanks, colons or braces, not starting with "0x" or ".", and unique.
constexpr bool MnemonicsWellFormed() {
  for (size_t i = 0; i < kMnemonics.size(); ++i) {
    if (kMnemonics[i] == nullptr) continue;
    std::string_view name = kMnemonics[i];
    if (name.empty() || name[0] < 'A' || name[0] > 'Z') return false;
    for (char c : name) {
      bool letter_or_digit = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
      if (!letter_or_digit && c != '%' && c != '&' && c != '!' && c != '$') return false;
    }
    for (size_t j = i + 1; j < kMnemonics.size(); ++j) {
      if (kMnemonics[j] != nullptr && SameIgnoringCase(name, kMnemonics[j])) return false;
    }
    for (const Alias& alias : kAliases) {
      if (SameIgnoringCase(name, alias.name)) return false;
    }
  }
  return true;
}
static_assert(MnemonicsWellFormed(), "token mnemonics must be unique single words");

constexpr bool HasNoHandler(uint8_t token) {
  return token <= 0x26 || (token >= 0x28 && token <= 0x3F) || token == 0x41 || token == 0xFF;
}

constexpr bool MnemonicsMatchHandlers() {
  for (int t = 0; t < 0xFF; ++t) {
    if ((kMnemonics[t] == nullptr) != HasNoHandler(static_cast<uint8_t>(t))) return false;
  }
  return kMnemonics[0xFF] != nullptr;
}
static_assert(MnemonicsMatchHandlers(), "exactly the tokens with a handler, and 0xFF, have mnemonics");

}  // namespace

const char* TokenMnemonic(uint8_t token) { return kMnemonics[token]; }

int FindTokenByMnemonic(std::string_view mnemonic) {
  for (size_t t = 0; t < kMnemonics.size(); ++t) {
    if (kMnemonics[t] != nullptr && SameIgnoringCase(mnemonic, kMnemonics[t])) return static_cast<int>(t);
  }
  for (const Alias& alias : kAliases) {
    if (SameIgnoringCase(mnemonic, alias.name)) return alias.token;
  }
  return -1;
}

bool IsProcedureCallToken(uint8_t token) { return HasNoHandler(token); }

}  // namespace morven
