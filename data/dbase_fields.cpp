#include "data/dbase_fields.h"

#include "console/text_screen.h"
#include "functions/string_functions.h"

namespace morven {

int FindField(const DbTable& t, std::string_view name) {
  ShortString wanted(name);
  for (size_t i = 0; i < wanted.length; ++i)
    if (wanted.bytes[i] >= 'a' && wanted.bytes[i] <= 'z') wanted.bytes[i] = static_cast<char>(wanted.bytes[i] - 32);
  while (wanted.length > 0 && wanted.bytes[wanted.length - 1] == ' ') --wanted.length;
  for (size_t i = 0; i < t.fields.size(); ++i)
    if (t.fields[i].name.View() == wanted.View()) return static_cast<int>(i);
  return -1;
}

void SelectField(DbTable& t, int index) {
  const FieldDescriptor& f = t.fields[static_cast<size_t>(index)];
  t.field_type = f.type;
  t.field_decimals = f.decimals;
  t.field_length = f.length;
  t.field_name = f.name;
  t.field_number = static_cast<int16_t>(index + 1);
}

void ForgetField(DbTable& t) {
  t.field_type = ' ';
  t.field_decimals = 0;
  t.field_length = 0;
  t.field_name.Clear();
  t.field_number = 0;
}

std::string_view FieldBytes(const DbTable& t, int index) {
  const FieldDescriptor& f = t.fields[static_cast<size_t>(index)];
  return std::string_view(reinterpret_cast<const char*>(t.buffer.data()) + f.offset, f.length);
}

void PutFieldBytes(DbTable& t, int index, std::string_view value) {
  const FieldDescriptor& f = t.fields[static_cast<size_t>(index)];
  uint8_t* field = t.buffer.data() + f.offset;
  for (size_t i = 0; i < f.length; ++i) field[i] = i < value.size() ? static_cast<uint8_t>(value[i]) : ' ';
}

bool OemFieldText() { return TextFont == 1; }

ShortString FieldTextToProgram(std::string_view text, bool convert) {
  ShortString out(text);
  if (convert) OemToAnsiText(out);
  return out;
}

ShortString ProgramTextToField(std::string_view text, bool convert) {
  ShortString out(text);
  if (convert) AnsiToOemText(out);
  return out;
}

}  // namespace morven
