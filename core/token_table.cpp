#include "core/token_table.h"

#include <array>

#include "console/placement_commands.h"
#include "console/print_command.h"
#include "console/screen_commands.h"
#include "console/wait_commands.h"
#include "core/area_variables.h"
#include "core/arrays.h"
#include "core/assignment.h"
#include "core/basic_commands.h"
#include "core/control_flow.h"
#include "core/variables.h"
#include "data/dbase_functions.h"
#include "data/file_slots.h"
#include "data/file_system.h"
#include "ui/string_list.h"
#include "core/not_built.h"
#include "core/number_text.h"
#include "errors/run_error.h"
#include "functions/numeric_functions.h"
#include "functions/string_key.h"

namespace morven {
namespace {

struct TokenHandler {
  uint8_t token;
  CommandHandler handler;
};

// The commands the runtime has. Every other token with a command reports itself as
// not available; the tokens without a command are procedure calls.
constexpr TokenHandler kHandlers[] = {
    {0x27, NoOperationCommand},
    {0x40, EvaluateLineCommand},
    {0x42, LogicalCoordinatesCommand},
    {0x44, WaitOneMessageCommand},
    {0x4E, StopTimerCommand},
    {0x4F, StartTimerCommand},
    {0x50, PaintModeCommand},
    {0x54, WriteAreaBlockCommand},
    {0x55, StoreAreaTextCommand},
    {0x56, StoreAreaLongCommand},
    {0x57, EndPartnerCommand},
    {0x5A, EvaluateFirstArgumentCommand},
    {0x5D, SetTrueColorCommand},
    {0x5E, SetMenuCommandCommand},
    {0x65, PlaceWindowCommand},
    {0x66, SetAttributesCommand},
    {0x6A, LoadAreaTextFileCommand},
    {0x6B, StoreAreaTextZeroCommand},
    {0x6C, StoreAreaWordCommand},
    {0x6D, StoreAreaByteCommand},
    {0x6E, ReleaseAreaCommand},
    {0x6F, DimensionAreaCommand},
    {0x70, OpenBinaryCommand},
    {0x71, CloseBinaryCommand},
    {0x72, WriteByteCommand},
    {0x73, SeekBinaryCommand},
    {0x75, SetFileOpenModeCommand},
    {0x77, SetStringKeyCommand},
    {0x83, NoOperationCommand},  // a user-defined function's definition line
    {0x84, NoOperationCommand},  // ENDIF
    {0x85, IfTrueBlockCommand},
    {0x86, ElseCommand},
    {0x87, IfFalseBlockCommand},
    {0x88, WhileTrueCommand},
    {0x89, WhileFalseCommand},
    {0x8A, WendCommand},
    {0x8B, ReturnCommand},
    {0x8C, EndProcCommand},
    {0x8D, JumpCommand},
    {0x8E, GosubCommand},
    {0x8F, ProcCommand},
    {0x90, ClearScreenCommand},
    {0x91, RepaintCommand},
    {0xA2, PrintCommand},
    {0xA3, SetDecimalsCommand},
    {0xA4, SetStringWidthCommand},
    {0xA5, SetNumberWidthCommand},
    {0xBA, TitleCommand},
    {0xBB, PlaceMainWindowCommand},
    {0xBC, SeedRandomCommand},
    {0xBE, LocateCommand},
    {0xBF, EndCommand},
    {0xC0, WaitKeyDownCommand},
    {0xC1, WaitCharCommand},
    {0xC2, WaitMouseCommand},
    {0xC3, WaitInputCommand},
    {0xC4, StoreIntegerElementCommand},
    {0xC5, StoreLongElementCommand},
    {0xC6, StoreFloatElementCommand},
    {0xC7, StoreStringElementCommand},
    {0xC8, DimIntegerArrayCommand},
    {0xC9, DimLongArrayCommand},
    {0xCA, DimFloatArrayCommand},
    {0xCB, DimStringArrayCommand},
    {0xCC, DeclareVariablesCommand},
    {0xCD, InputCommand},
    {0xCE, AssignmentCommand},
    {0xCF, DeclareParametersCommand},
    {0xD0, IncrementCommand},
    {0xD1, DecrementCommand},
    {0xD2, AddToCommand},
    {0xD3, SubtractFromCommand},
    {0xD4, CopyFileCommand},
    {0xD6, ShowMaximizedCommand},
    {0xD7, ShowMinimizedCommand},
    {0xD8, ShowNormalCommand},
    {0xDA, ColorCommand},
    {0xDB, FontCommand},
    {0xDC, ListClearCommand},
    {0xDD, ListAddCommand},
    {0xDE, ListFilesCommand},
    {0xDF, ChangeDirectoryCommand},
    {0xE0, MakeDirectoryCommand},
    {0xE1, RemoveDirectoryCommand},
    {0xE2, TextBoxCommand},
    {0xE5, AssignCommand},
    {0xE6, RenameCommand},
    {0xE7, AppendCommand},
    {0xE8, CloseTextCommand},
    {0xE9, EraseCommand},
    {0xEA, ResetCommand},
    {0xEB, RewriteCommand},
    {0xEF, SetErrorModeCommand},
    {0xF3, ElseCommand},  // an else-if reached after its branch ran
    {0xF4, ListSetCommand},
    {0xF5, WindowOptionsCommand},
    {0xF8, MakeIndexCommand},
    {0xF9, MakeTableCommand},
    {0xFE, NoOperationCommand},
};

constexpr bool HasNoCommand(int token) {
  // 0x81 and 0x82 are the conditional prefixes: the main loop handles them before
  // dispatch, so when one is dispatched (behind another prefix) it is a call.
  return token <= 0x26 || (token >= 0x28 && token <= 0x3F) || token == 0x41 || token == 0x81 ||
         token == 0x82 || token == 0xFF;
}

constexpr std::array<CommandHandler, 256> BuildTable() {
  std::array<CommandHandler, 256> table{};
  for (int t = 0; t < 256; ++t) table[static_cast<size_t>(t)] = HasNoCommand(t) ? nullptr : CommandNotAvailable;
  for (const TokenHandler& h : kHandlers) table[h.token] = h.handler;
  return table;
}

constexpr std::array<CommandHandler, 256> kTable = BuildTable();

}  // namespace

CommandHandler HandlerOf(uint8_t token) { return kTable[token]; }

}  // namespace morven
