// The terminal edition's own texts in English and German, and how texts reach a stream.
#include "terminal/terminal.h"

namespace {

struct OwnText {
    TerminalText id;
    const wchar_t* english;
    const wchar_t* german;
};

const OwnText kTexts[] = {
    {TerminalText::Usage,
     L"Usage: orca-75-lx-updater-cli [status|list|update] [options]\n"
     L"\n"
     L"  status           the unit's, bootloader's and controller's versions and what to do "
     L"(default)\n"
     L"  list             every programming unit present\n"
     L"  update           writes the firmware image into the controller\n"
     L"\n"
     L"  --device PATH    the unit at PATH (see list)\n"
     L"  -y, --yes        answers the first confirmation with yes\n"
     L"  --force          answers the same-or-newer confirmation with yes\n"
     L"  --wait[=SECONDS] waits for a unit that is ready to update\n"
     L"  --each           updates every unit that becomes ready, one after another\n"
     L"  --count N        with --each: stops after N units\n"
     L"  --json           JSON lines on standard output\n"
     L"  -q, --quiet      only the result and errors\n"
     L"  --version, -h, --help\n"
     L"\n"
     L"Exit status:\n"
     L"  0 ready, updated, or a line without failure   1 an update failed\n"
     L"  2 usage error                                 3 no unit (or --wait timed out)\n"
     L"  4 unit in the wrong mode                      5 no updatable controller\n"
     L"  6 incompatible controller                     7 declined, nothing written\n"
     L"  8 unit present, access denied                 9 several units, no --device\n"
     L"  10 unit in use by another instance            130 interrupted\n",
     L"Aufruf: orca-75-lx-updater-cli [status|list|update] [Optionen]\n"
     L"\n"
     L"  status           Versionen von Programmiereinheit, Bootloader und Regler und was zu tun "
     L"ist (Vorgabe)\n"
     L"  list             alle angeschlossenen Programmiereinheiten\n"
     L"  update           schreibt die Firmware in den Regler\n"
     L"\n"
     L"  --device PFAD    die Einheit unter PFAD (siehe list)\n"
     L"  -y, --yes        beantwortet die erste Rückfrage mit Ja\n"
     L"  --force          beantwortet die Rückfrage bei gleicher oder neuerer Firmware mit Ja\n"
     L"  --wait[=SEKUNDEN] wartet auf eine Einheit, die zum Update bereit ist\n"
     L"  --each           aktualisiert nacheinander jede Einheit, die bereit wird\n"
     L"  --count N        mit --each: endet nach N Einheiten\n"
     L"  --json           JSON-Zeilen auf der Standardausgabe\n"
     L"  -q, --quiet      nur das Ergebnis und Fehler\n"
     L"  --version, -h, --help\n"
     L"\n"
     L"Rückgabewert:\n"
     L"  0 bereit, aktualisiert oder Serie ohne Fehler  1 ein Update ist fehlgeschlagen\n"
     L"  2 falscher Aufruf                             3 keine Einheit (oder --wait abgelaufen)\n"
     L"  4 Einheit im falschen Modus                   5 kein aktualisierbarer Regler\n"
     L"  6 Regler nicht kompatibel                     7 abgelehnt, nichts geschrieben\n"
     L"  8 Einheit vorhanden, kein Zugriff             9 mehrere Einheiten, kein --device\n"
     L"  10 Einheit von anderer Instanz belegt         130 abgebrochen\n"},
    {TerminalText::UsageError, L"%s. Try '--help'.", L"%s. Siehe '--help'."},
    {TerminalText::PromptAnswers, L"[y/N] ", L"[j/N] "},
    {TerminalText::Declined, L"Declined: nothing was written.",
     L"Abgelehnt: es wurde nichts geschrieben."},
    {TerminalText::SkippedSameOrNewer,
     L"Skipped: the controller already has this firmware or a newer one (--force writes it).",
     L"Übersprungen: der Regler hat diese oder eine neuere Firmware (--force schreibt sie)."},
    {TerminalText::OthersPresent, L"Further programming units are present:",
     L"Weitere Programmiereinheiten sind angeschlossen:"},
    {TerminalText::ChooseDevice,
     L"Several programming units are present; choose one with --device:",
     L"Mehrere Programmiereinheiten sind angeschlossen; wählen Sie eine mit --device:"},
    {TerminalText::NoAccess,
     L"The programming unit %s is connected, but this user may not open it.",
     L"Die Programmiereinheit %s ist angeschlossen, aber dieser Benutzer darf sie nicht öffnen."},
    {TerminalText::NoAccessHow,
     L"Log in at this computer's own screen and keyboard, or have an administrator add you to "
     L"the group 'plugdev' (sudo usermod -aG plugdev $USER), then log in again.",
     L"Melden Sie sich am Bildschirm und an der Tastatur dieses Computers an, oder lassen Sie "
     L"sich von einem Administrator in die Gruppe 'plugdev' aufnehmen (sudo usermod -aG "
     L"plugdev $USER) und melden Sie sich neu an."},
    {TerminalText::InUse, L"The programming unit %s is in use by another instance of this program.",
     L"Die Programmiereinheit %s wird von einer anderen Instanz dieses Programms verwendet."},
    {TerminalText::NotInList, L"No programming unit at %s.", L"Keine Programmiereinheit unter %s."},
    {TerminalText::WaitingFor, L"Waiting for a programming unit that is ready to update...",
     L"Warte auf eine Programmiereinheit, die zum Update bereit ist..."},
    {TerminalText::InterruptRefused, L"The update must not be interrupted: it goes on to its end.",
     L"Das Update darf nicht unterbrochen werden: es läuft bis zu seinem Ende weiter."},
    {TerminalText::RemoveUnit, L"Disconnect the programming unit %s for the next one.",
     L"Trennen Sie die Programmiereinheit %s für die nächste."},
    {TerminalText::Tally, L"Updated: %u, failed: %u, skipped: %u",
     L"Aktualisiert: %u, fehlgeschlagen: %u, übersprungen: %u"},
    {TerminalText::Progress, L"%u %%  block %u of %u  %u s left",
     L"%u %%  Block %u von %u  noch %u s"},
    {TerminalText::ProgressStart, L"Writing the firmware...", L"Firmware wird geschrieben..."},
    {TerminalText::NotPossible,
     L"'--each' asks for each unit: give '--yes', or run it on a terminal.",
     L"'--each' fragt bei jeder Einheit nach: geben Sie '--yes' an oder starten Sie es in "
     L"einem Terminal."},
    {TerminalText::ProductLine, L"%s: %s", L"%s: %s"},
    {TerminalText::UnexpectedArgument, L"unexpected argument '%s'", L"unerwartetes Argument '%s'"},
    {TerminalText::UnknownCommand, L"unknown command '%s'", L"unbekannter Befehl '%s'"},
    {TerminalText::UnknownOption, L"unknown option '%s'", L"unbekannte Option '%s'"},
    {TerminalText::NeedsValue, L"option '%s' needs a value", L"Option '%s' braucht einen Wert"},
    {TerminalText::CountNeedsNumber, L"option '--count' needs a whole number above 0",
     L"Option '--count' braucht eine ganze Zahl über 0"},
    {TerminalText::EachWithUpdate, L"'--each' goes with 'update'", L"'--each' gehört zu 'update'"},
    {TerminalText::CountWithEach, L"'--count' goes with '--each'", L"'--count' gehört zu '--each'"},
    {TerminalText::EachTakesEvery, L"'--each' takes every unit: leave out '--device'",
     L"'--each' nimmt jede Einheit: lassen Sie '--device' weg"},
    {TerminalText::PressEnter, L"Press Enter to close.",
     L"Zum Schließen die Eingabetaste drücken."},
};

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

// Code points of a text; UTF-16 surrogate pairs (Windows) joined. A surrogate without its
// partner, or anything beyond Unicode, has no UTF-8 form: it becomes U+FFFD.
template <typename Each> void forEachCodePoint(const std::wstring& text, Each each) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            const std::uint32_t low = static_cast<std::uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
            c = kReplacement;
        each(c);
    }
}

} // namespace

std::wstring terminalText(TerminalText id, bool german) {
    for (const OwnText& t : kTexts)
        if (t.id == id)
            return german ? t.german : t.english;
    return {};
}

std::string terminalLine(const std::wstring& text) {
    std::string out;
    forEachCodePoint(text, [&](std::uint32_t c) {
        if (c != '\r')
            appendUtf8(out, c);
    });
    return out;
}

std::string jsonString(const std::wstring& text) {
    std::string out = "\"";
    forEachCodePoint(text, [&](std::uint32_t c) {
        static const char hex[] = "0123456789abcdef";
        if (c == '\r')
            return;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            appendUtf8(out, c);
        }
    });
    return out + "\"";
}
