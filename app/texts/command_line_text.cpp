#include "app/texts/messages.h"

namespace kastrel::app {
namespace {

std::string allowed_values(const std::string& option) {
    if (option == "--option")
        return "1, 2, 3 oder 4";
    if (option == "--plane")
        return "XY, XZ, YZ oder none";
    if (option == "--part")
        return "eine Teilenummer";
    return "ein Dateiname";
}

} // namespace

std::string usage_text(std::string_view program) {
    const std::string name(program);
    return "Aufruf:\n"
           "  " +
           name +
           " --export DATEI [--option 1|2|3|4] [--plane XY|XZ|YZ|none] "
           "(--all | --select ID [--select ID ...])\n"
           "  " +
           name +
           " --export DATEI.dfq [--part TEXT] [--plane XY|XZ|YZ] "
           "(--all | --select ID [--select ID ...])\n"
           "  " +
           name +
           " --evaluate [--plane XY|XZ|YZ] (--all | --select ID [--select ID ...])\n"
           "  " +
           name +
           " --list\n"
           "  " +
           name +
           " --help\n"
           "\n"
           "  --export DATEI  schreibt die Messpunkte der selektierten Merkmale des aktiven\n"
           "                  Teileprogramms in DATEI; eine vorhandene Datei wird ersetzt,\n"
           "                  eine vorhandene AQDEF-Datei (*.dfq) fortgesetzt\n"
           "  --evaluate      wertet die selektierten Merkmale aus wie \"Auswertung anzeigen\"\n"
           "                  und gibt die Tabelle aus, Felder durch TAB getrennt\n"
           "  --option N      Ausgabeoption 1 bis 4 (ohne Angabe 4)\n"
           "  --plane EBENE   XY, XZ, YZ oder none für keine Ebene (ohne Angabe XY)\n"
           "  --part TEXT     Teilenummer einer AQDEF-Datei (ohne Angabe der Dateiname ohne\n"
           "                  Endung)\n"
           "  --all           alle Merkmale selektieren\n"
           "  --select ID     jedes Merkmal mit dieser ID selektieren (mehrfach möglich)\n"
           "  --list          die Merkmale des aktiven Teileprogramms ausgeben, eines je Zeile\n"
           "  --help          diese Hilfe\n"
           "\n"
           "Ende-Code: 0 vollständig geschrieben, 1 Vormesa nicht gestartet oder kein aktives\n"
           "Teileprogramm, 2 Aufruf fehlerhaft oder eine ID ohne Merkmal (nichts geschrieben),\n"
           "3 Datei nicht geschrieben, 4 Datei unvollständig, 5 Vormesa antwortet nicht mehr oder\n"
           "das Teileprogramm wurde geschlossen (Datei nicht geschrieben)";
}

std::string usage_error_text(const batch::UsageError& error) {
    using Kind = batch::UsageError::Kind;
    switch (error.kind) {
    case Kind::UnknownArgument:
        return "Unbekanntes Argument \"" + error.argument + "\"";
    case Kind::MissingValue:
        return "Zu " + error.option + " fehlt der Wert";
    case Kind::InvalidValue:
        return "Ungültiger Wert \"" + error.argument + "\" für " + error.option +
               " (erlaubt: " + allowed_values(error.option) + ")";
    case Kind::GivenTwice:
        return error.option + " ist mehrfach angegeben";
    case Kind::NotAlone:
        return error.option + " steht allein, ohne weitere Argumente";
    case Kind::NoCommand:
        return "--export, --list oder --help fehlt";
    case Kind::NoSelection:
        return "Zu " + (error.option.empty() ? std::string("--export") : error.option) +
               " fehlt --all oder --select ID";
    case Kind::BothSelections:
        return "--all und --select schließen einander aus";
    case Kind::OnlyForAqdef:
        return error.option + " gilt nur für eine AQDEF-Datei (*.dfq)";
    case Kind::NotForAqdef:
        return error.option + " gilt nicht für eine AQDEF-Datei (*.dfq): sie enthält die "
                              "Auswertung, nicht die Messpunkte";
    case Kind::AqdefNeedsPlane:
        return "Eine AQDEF-Datei (*.dfq) enthält die Auswertung und braucht eine Ebene: "
               "--plane XY, XZ oder YZ";
    case Kind::NotWithEvaluate:
        return error.option + " ist mit --evaluate nicht möglich";
    }
    return {};
}

std::string unknown_selection_text(const std::string& id) {
    return "Kein Merkmal der Liste hat die ID \"" + id + "\".";
}

} // namespace kastrel::app
