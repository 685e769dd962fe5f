#include <gtest/gtest.h>

#include <string>

#include "errors/message_table.h"

namespace morven {
namespace {

// Byte-exact Windows-1252 texts, including the ones with umlauts, quotes and CR LF.
TEST(MessageText, ExactBytes) {
  struct Case {
    int32_t number;
    std::string text;
  } cases[] = {
      {100, "Systemvariable unbekannt: "},
      {116, "\"DIM%\" darf nur einmal verwandt werden!"},
      {200, "Ung\xFCltiger Funktionswert!"},
      {211, "Parameterzahl mu\xDF zwischen 0 und 12 liegen!"},
      {235, "Drucken ist nicht m\xF6glioch!"},
      {244, "Der Text pa\xDFt nicht komplett in die Bereichsvariable!"},
      {504, " S\xE4tze bearbeitet!"},
      {801, "Zeile "},
      {803, "Aufruf mit: \r\nMORVRUN [<Dateiname>]"},
      {905, "Keine MORVEN\xB2 Datei!"},
      {999, "Programm abgebrochen!"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(MessageText(c.number)), c.text) << c.number;
}

TEST(MessageText, UnknownNumbers) {
  for (int32_t n : {0, 99, 126, 907, 908, 1000, -1})
    EXPECT_EQ(std::string(MessageText(n)), "UNERWARTETER FEHLER!") << n;
}

}  // namespace
}  // namespace morven
