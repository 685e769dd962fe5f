// The runtime's message table: every user-visible problem is a number with a
// German text in Windows-1252. Texts that take a detail end in ": ".
#include "errors/message_table.h"

#include <algorithm>
#include <iterator>

namespace morven {
namespace {

struct MessageEntry {
  int32_t number;
  const char* text;
};

// Sorted by number; looked up by binary search.
constexpr MessageEntry kMessages[] = {
    {100, "Systemvariable unbekannt: "},
    {101, "Funktion unbekannt: "},
    {102, "Befehl unbekannt: "},
    {103, "Integer-Variable erwartet!"},
    {104, "Dateikennung erwartet!"},
    {105, "Tabellenkennung erwartet!"},
    {106, "ENDIF bzw. ELSE nicht gefunden!"},
    {107, "ENDIF nicht gefunden!"},
    {108, "Zu tiefe WHILE-Verschachtelung!"},
    {109, "ENDWHILE bzw. WEND nicht gefunden!"},
    {110, "WHILE fehlt!"},
    {111, "GOSUB/PROC fehlt!"},
    {112, "PROC fehlt!"},
    {113, "Label nicht gefunden: "},
    {114, "Zu tiefe GOSUB/PROC-Verschachtelung!"},
    {115, "ENDPROC nicht gefunden!"},
    {116, "\"DIM%\" darf nur einmal verwandt werden!"},
    {117, "\"DIM&\" darf nur einmal verwandt werden!"},
    {118, "\"DIM$\" darf nur einmal verwandt werden!"},
    {119, "\"DIM!\" darf nur einmal verwandt werden!"},
    {120, "STARTPRINT fehlt!"},
    {121, "Bereichs-Variable erwartet!"},
    {122, "Variablenbezeichner fehlerhaft: "},
    {123, "Variablenname zu lang: "},
    {124, "STARTPAINT fehlt!"},
    {125, "SUBPOPUP fehlt!"},
    {200, "Ung\xFCltiger Funktionswert!"},
    {201, "Division durch 0!"},
    {202, "Falscher Typ f\xFCr @DTOC$ !"},
    {203, "Falscher Typ f\xFCr @CTOD$ !"},
    {204, "String-Index ist < 1 !"},
    {205, "Substring-Nr ist < 1 !"},
    {206, "So viele Elemente sind nicht da!"},
    {207, "Bereichsgrenze \xFC""berschritten: "},
    {208, "Kommandozeilenparameter fehlt!"},
    {209, "Datei nicht gefunden: "},
    {210, "Dateinummer nicht im erlaubten Bereich!"},
    {211, "Parameterzahl mu\xDF zwischen 0 und 12 liegen!"},
    {212, "Zu wenig Parameter!"},
    {213, "Funktionsargument fehlt!"},
    {214, "Keine Zahl: "},
    {215, "Variable nicht declariert: "},
    {216, "Falscher Parametertyp: "},
    {217, "Speicher f\xFCr Integer-Variablen ersch\xF6pft!"},
    {218, "Speicher f\xFCr LongInt-Variablen ersch\xF6pft!"},
    {219, "Speicher f\xFCr String-Variablen ersch\xF6pft!"},
    {220, "Speicher f\xFCr Float-Variablen ersch\xF6pft!"},
    {221, "W\xE4hrend der Druckausgabe verboten: "},
    {222, "Box nicht innerhalb des Fensters!"},
    {223, "Negative Fenstergr\xF6\xDF""e!"},
    {224, "ICON nicht vorhanden: "},
    {225, "ICON nicht vorhanden! (Nur 0..4)"},
    {226, "Fehler bei der Men\xFC""erstellung!"},
    {227, "Zu tiefe Men\xFCverschachtelung!"},
    {228, "Bitmap nicht ladbar: "},
    {229, "Bitmap konnte nicht gespeichert werden: "},
    {230, "Cursor nicht vorhanden! (Nur 0..11)"},
    {231, "Es sind lediglich 0 bis 9999 Elemente erlaubt!"},
    {232, "Zu viele Elemente!"},
    {233, "Das Element gibt es nicht!"},
    {234, "Fehler bei der Tonerzeugung!"},
    {235, "Drucken ist nicht m\xF6glioch!"},
    {236, "Fehler bei der HardCopy!"},
    {237, "Der Befehl setzt ein Fenster vorraus!"},
    {238, "Stringende fehlt!"},
    {239, "Speicher f\xFCr Bereichs-Variablen ersch\xF6pft!"},
    {240, "Zu wenig Speicher f\xFCr Bereichs-Variable!"},
    {241, "Bereichsvariable ist bereits DIMensioniert!"},
    {242, "Ung\xFCltiges Fenster-Handle!"},
    {243, "Bereichsvariable ist nicht DIMensioniert!"},
    {244, "Der Text pa\xDFt nicht komplett in die Bereichsvariable!"},
    {245, "Die Parameterzahl unterscheidet sich von der Parameterbeschreibung!"},
    {246, "Ung\xFCltiger Typ in der Parameterbeschreibung!"},
    {247, "Fehler beim Laden der DLL: "},
    {248, "Funktion in DLL nicht vohanden: "},
    {249, "Zwischen STARTPAINT/ENDPAINT verboten: "},
    {250, "SETTIMER fehlt!"},
    {251, "Der TIMER ist schon eingestellt!"},
    {252, "Men\xFC ist nicht ladbar: "},
    {253, "Speicher f\xFCr Array-Variablen ersch\xF6pft!"},
    {254, "Maximal drei Dimensionen erlaubt!"},
    {300, "Datei kann nicht gelesen werden: "},
    {301, "Datei kann nicht erzeugt werden: "},
    {302, "Fehler beim Lesen: "},
    {303, "Fehler beim Schreiben: "},
    {304, "MORV16.EXE nicht ausf\xFChrbar oder fehlt!"},
    {305, "REGISTRY: "},
    {500, "ODBC ist nicht initialisiert!"},
    {501, "Fehler bei der ODBC-Initialisierung!"},
    {502, "ODBC32.DLL nicht gefunden!"},
    {503, "ODBC-Fehler"},
    {504, " S\xE4tze bearbeitet!"},
    {505, "Operation erfolgreich!"},
    {506, "Ergebnisdatei kann nicht ge\xF6""ffnet werden!"},
    {507, "Zu gro\xDF""e Ergebnismenge!"},
    {600, "dB-Fehler: "},
    {601, "Datei nicht gefunden: "},
    {602, "Doppelter Feldname"},
    {603, "Ung\xFCltige Feldl\xE4nge"},
    {604, "Ung\xFCltige Dezimalstellen"},
    {605, "Index-Datei nicht in Ordnung"},
    {606, "Feld nicht gefunden"},
    {607, "Dateiname fehlerhaft: "},
    {608, "Schl\xFCsselfeld nicht in Ordnung"},
    {609, "Tabellennummer nicht im erlaubten Bereich!"},
    {610, "Tabellennummer noch nicht vergeben!"},
    {611, "Formel nicht in Ordnung"},
    {612, "Feld beim Lesen nicht gefunden"},
    {613, "Feldnummer beim Lesen nicht gefunden"},
    {614, "Feld zum Schreiben nicht gefunden"},
    {615, "Feldnummer zum Schreiben nicht gefunden"},
    {616, "Index-Dateiname fehlerhaft: "},
    {800, "Datei laden:"},
    {801, "Zeile "},
    {802, "Aufruf mit: \r\nMORVEN [<Dateiname>]"},
    {803, "Aufruf mit: \r\nMORVRUN [<Dateiname>]"},
    {804, "Aufruf mit: \r\nMORVCOMP [<Dateiname>]"},
    {901, "Nur 9999 Zeilen sind erlaubt!"},
    {902, "Zeile zu lang (max. 254 Zeichen)!"},
    {903, "INCLUDE-Datei nicht gefunden!"},
    {904, "INCLUDE-Verschachtelung verboten!"},
    {905, "Keine MORVEN\xB2 Datei!"},
    {906, "Programmdatei fehlerhaft!"},
    {999, "Programm abgebrochen!"},
};

constexpr const char* kUnexpected = "UNERWARTETER FEHLER!";

}  // namespace

std::string_view MessageText(int32_t number) {
  const auto* end = std::end(kMessages);
  const auto* it = std::lower_bound(std::begin(kMessages), end, number,
                                    [](const MessageEntry& e, int32_t n) { return e.number < n; });
  if (it != end && it->number == number) return it->text;
  return kUnexpected;
}

}  // namespace morven
