// Functions that show message boxes and query the window and input state.
#include "core/argument_reader.h"
#include "core/registers.h"
#include "functions/function_table.h"
#include "platform/message_box.h"
#include "ui/dialog_state.h"

namespace morven {
namespace {

// 0x9B: text, caption, style; the chosen button's code.
void MessageBoxFunction() {
  ReadArgument(',', kKindString);
  const ShortString text = StringValue;
  ReadArgument(',', kKindString);
  const ShortString caption = StringValue;
  ReadArgument(')', kKindAny);
  DialogResult = platform::MessageBox(text.View(), caption.View(), static_cast<uint32_t>(IntValue));
  LongValue = DialogResult;
  ValueType = kTypeInteger;
}

constexpr FunctionEntry kWindowQuery[] = {
    {0x9B, MessageBoxFunction},
};

}  // namespace

std::span<const FunctionEntry> WindowQueryFunctions() { return kWindowQuery; }

}  // namespace morven
