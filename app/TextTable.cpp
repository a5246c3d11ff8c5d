#include "app/TextTable.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace ponderix {

namespace {

struct Entry {
    std::u16string_view key;
    std::u16string_view value;
};

// Every value is one piece of a sentence or a caption: blanks, line breaks and
// punctuation between pieces are added where the pieces are joined, so no
// value starts or ends with a blank or holds a line break.
constexpr Entry kEntries[] = {
    // Program constants. Folder and file names are used exactly as they stand.
    {u"AppData_Subdir", u"Ponderix/"}, // joined to a folder that ends in "/", and the settings file to it
    {u"Copyright_Text", u"Copyright © 2026 The Ponderix developers"},
    {u"Digital_Sinatures", u"Digital Signatures"},
    {u"Offline_Hilfe", u"ponderix-help.html"},
    // The project lives in its public repository; the organisation page beside
    // it is where further tools of the same developers are listed.
    {u"Online_Adresse", u"https://github.com/ponderix/ponderix"},
    {u"Online_MoreTools", u"https://github.com/ponderix"},
    {u"Program_Name", u"Ponderix"},
    {u"Program_Short", u"Ponderix"}, // also the root element of every project file: never change it
    {u"Registry_Subkey", u"Ponderix/Ponderix"}, // organisation/application
    {u"Settings_File", u"Ponderix.ini"},
    {u"Temp_Subdir", u"Ponderix"}, // a bare name: a user-id suffix may follow it
    {u"Version_Name", u"Version 1.0.0"},

    // Menu titles and items. The six that double as toolbar captions stay one
    // plain word without an accelerator mark: the toolbar sizes its buttons
    // from the caption as it stands.
    {u"MEN00001", u"&File"},
    {u"MEN00002", u"&Edit"},
    {u"MEN00003", u"&Analysis"},
    {u"MEN00004", u"New"},
    {u"MEN00005", u"Open"},
    {u"MEN00006", u"Save"},
    {u"MEN00007", u"Save &as..."},
    {u"MEN00009", u"E&xport as text..."},
    {u"MEN00011", u"&Quit"},
    {u"MEN00012", u"&Demo project"},
    {u"MEN00020", u"Results"},
    {u"MEN00021", u"Profile"},
    {u"MEN00022", u"Report"},
    {u"MEN00030", u"&Help"},
    {u"MEN00031", u"&Web page"},
    {u"MEN00033", u"&About"},
    {u"MEN00034", u"Digital &signature"},
    {u"MEN00035", u"More &tools"},
    {u"MEN00103", u"Cu&t"},
    {u"MEN00104", u"&Copy"},
    {u"MEN00105", u"&Paste"},
    {u"MEN00106", u"&Delete"},
    {u"MEN00107", u"Select &all"},

    // Start-up, general message titles and the single-instance refusal.
    {u"TXT00001", u"Error"},
    {u"TXT00002", u"No desktop was found. Ponderix needs a graphical display to run."},
    {u"TXT00013", u"Information"},
    {u"TXT00041", u"Ponderix is already running."},

    // Signature information: 73, 74 and 75 make one paragraph, 76 a second one.
    {u"TXT00072", u"Digital signature"},
    {u"TXT00073", u"You can check that your copy of Ponderix is genuine."},
    {u"TXT00074", u"The next window shows the program file with its size, date and SHA-256 checksum."},
    {u"TXT00075", u"Compare the checksum with the one published for this version."},
    {u"TXT00076", u"If the two differ, the program file has been changed and should not be used."},

    // Files: export overwrite question, project read and write failures.
    {u"TXT00090", u"Replace file"},
    {u"TXT00091", u"A file with this name already exists. Do you want to replace it?"},
    {u"TXT00093", u"The project could not be saved."},
    {u"TXT00094", u"The project file could not be opened."},

    // Quit question, refusals and clipboard confirmations; 105 and 106 are two
    // lines of one message.
    {u"TXT00100", u"Quit"},
    {u"TXT00101", u"Do you want to save the project before quitting?"},
    {u"TXT00102", u"Please drop a single project file (*.pnx)."},
    {u"TXT00103", u"A project can hold at most 26 options."},
    {u"TXT00104", u"A project can hold at most 300 criteria."},
    {u"TXT00105", u"The report has been copied to the clipboard."},
    {u"TXT00106", u"It can be pasted into a spreadsheet as a table."},
    {u"TXT00107", u"The chart has been copied to the clipboard."},
    {u"TXT00108", u"Save chart as image"},
    {u"TXT00109", u"The image could not be saved."},
    {u"TXT00110", u"A project can hold at most 1000 ratings (options × criteria)."},
    {u"TXT00111", u"Ponderix project"},
    {u"TXT00112", u"All files"},

    // Text export dialog; " (*.txt)" follows each pattern description.
    {u"TXT00120", u"Export as text"},
    {u"TXT00125", u"Text, criteria as rows"},
    {u"TXT00126", u"Text, options as rows"},

    // Joining words: "3 Criteria and 2 Options", "Importance 4 of 5".
    {u"TXT00150", u"and"},
    {u"TXT00151", u"of"},

    // Importance legend under a 120-pixel slider: short, or it will not fit.
    {u"TXT00196", u"Low"},
    {u"TXT00197", u"Medium"},
    {u"TXT00198", u"High"},

    // Matrix view: the words for criteria and options, tooltips and the
    // questions of the editing commands. 212 is the second line of the New
    // and Open questions.
    {u"TXT00200", u"Criterion"},
    {u"TXT00201", u"Criteria"},
    {u"TXT00202", u"Option"},
    {u"TXT00203", u"Options"},
    {u"TXT00204", u"Add option"},
    {u"TXT00205", u"Add criterion"},
    {u"TXT00206", u"Delete option"},
    {u"TXT00207", u"Delete criterion"},
    {u"TXT00208", u"Rating"},
    {u"TXT00209", u"Comment"},
    {u"TXT00210", u"New project"},
    {u"TXT00211", u"Do you want to start a new project?"},
    {u"TXT00212", u"Changes that have not been saved will be lost."},
    {u"TXT00213", u"Untitled project"},
    {u"TXT00214", u"New entry"},
    {u"TXT00215", u"Do you want to delete this option?"},
    {u"TXT00216", u"Do you want to delete this criterion?"},
    {u"TXT00217", u"Open project"},
    {u"TXT00218", u"Do you want to open another project?"},
    {u"TXT00219", u"Save project"},
    {u"TXT00220", u"A file with this name already exists. Do you want to replace it?"},
    {u"TXT00221", u"Move left"},
    {u"TXT00222", u"Move right"},
    {u"TXT00223", u"Move up"},
    {u"TXT00224", u"Move down"},
    {u"TXT00225", u"The new width of the criteria column takes full effect the next time Ponderix starts."},
    {u"TXT00226", u"Click to set the width of the criteria column"},

    // Charts. The verdicts, best first, and the band captions also stand
    // upright in 60-pixel boxes beside the overview chart, so they stay short.
    // The page row labels, in bold, must fit the 100 pixels before their value.
    {u"TXT00248", u"Good"},
    {u"TXT00249", u"Poor"},
    {u"TXT00250", u"Options"},
    {u"TXT00251", u"Very good"},
    {u"TXT00252", u"Good"},
    {u"TXT00253", u"Neutral"},
    {u"TXT00254", u"Poor"},
    {u"TXT00255", u"Very poor"},
    {u"TXT00256", u"Overview"},
    {u"TXT00257", u"Best choice:"},
    {u"TXT00258", u"Top score:"},
    {u"TXT00259", u"Verdict:"},
    {u"TXT00260", u"Ratings by importance"},
    {u"TXT00261", u"Rating"},
    {u"TXT00262", u"Importance"},
    {u"TXT00263", u"Option details"},
    {u"TXT00264", u"Option:"},
    {u"TXT00265", u"Score:"},
    {u"TXT00266", u"Verdict:"},
    {u"TXT00267", u"Profile"},
    {u"TXT00268", u"The profile needs at least three criteria."},

    // Report, text export headings and window captions; a window title is
    // followed by " - " and the program name.
    {u"TXT00269", u"Report"},
    {u"TXT00270", u"Name"},
    {u"TXT00271", u"Score"},
    {u"TXT00272", u"Verdict"},
    {u"TXT00273", u"Importance"},
    {u"TXT00274", u"Results"},
    {u"TXT00275", u"Profile"},
    {u"TXT00276", u"Profile"},
    {u"TXT00277", u"Report"},
    {u"TXT00278", u"Comment"},
    {u"TXT00279", u"Comments"},

    // The robustness page and the robustness command: how solid the best
    // choice is, in words.
    {u"TXT00400", u"Robustness"},
    {u"TXT00401", u"Runner-up:"},
    {u"TXT00402", u"Lead:"},
    {u"TXT00403", u"points"},
    {u"TXT00404", u"Closest change:"},
    {u"TXT00405", u"No single change alters the best choice"},
    {u"TXT00406", u"Robust"},
    {u"TXT00407", u"Sensitive"},
    {u"TXT00408", u"Fragile"},
    {u"TXT00409", u"Undecided"},
    {u"TXT00410", u"no change of one or two steps alters the best choice"},
    {u"TXT00411", u"a change of two steps alters the best choice"},
    {u"TXT00412", u"a change of one step alters the best choice"},
    {u"TXT00413", u"no single option has the top score"},
    {u"TXT00414", u"Importance of"},
    {u"TXT00415", u"Rating of"},
    {u"TXT00416", u"under"},
    {u"TXT00417", u"from"},
    {u"TXT00418", u"to"},
    {u"TXT00419", u"step"},
    {u"TXT00420", u"steps"},
    {u"TXT00421", u"then best:"},
    {u"TXT00422", u"Best choice by importance"},
    {u"TXT00423", u"more criteria not shown"},
    {u"TXT00424", u"the most sensitive are listed first"},
    {u"TXT00425", u"Chance of being best"},
    {u"TXT00426", u"ratings uncertain by"},
    {u"TXT00427", u"Challengers"},
    {u"TXT00428", u"needs"},
    {u"TXT00429", u"no single change makes it a best choice"},
    {u"TXT00430", u"and"},
    {u"TXT00431", u"more"},
    {u"TXT00432", u"none"},

    // Buttons of the chart and report windows: 90 pixels wide, Close 120.
    {u"TXT00307", u"Close"},
    {u"TXT00308", u"Copy"},
    {u"TXT00309", u"Print..."},
    {u"TXT00339", u"Save as..."},
};

// A repeated key would silently drop one of its values when the table is built.
constexpr bool keysAreUnique()
{
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        for (std::size_t j = i + 1; j < std::size(kEntries); ++j) {
            if (kEntries[i].key == kEntries[j].key)
                return false;
        }
    }
    return true;
}
static_assert(keysAreUnique(), "a text key is listed twice");

} // namespace

TextTable::TextTable()
{
    m_texts.reserve(static_cast<qsizetype>(std::size(kEntries)));
    for (const Entry& entry : kEntries)
        m_texts.insert(QStringView(entry.key).toString(), QStringView(entry.value).toString());
}

const TextTable& TextTable::builtIn()
{
    static const TextTable table;
    return table;
}

QString TextTable::text(QStringView key) const
{
    return m_texts.value(key.toString());
}

QStringList TextTable::keys() const
{
    QStringList sorted = m_texts.keys();
    sorted.sort();
    return sorted;
}

} // namespace ponderix
