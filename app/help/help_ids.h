#pragma once
// The help topic ids the program asks for: the one place they are named. Each id is a
// row of resources/help/topics.tsv, which maps it to a page and an anchor; the Help
// buttons and F1 of every window hand one of these to ShowHelp().

#include <array>

namespace help_ids {

// The contents: Help "Help", and F1 where no window below has a topic.
inline constexpr const char* kContents = "contents";
inline constexpr const char* kGettingStarted = "getting-started";

inline constexpr const char* kMainWindow = "main-window";
inline constexpr const char* kDocumentWindow = "document-window";
inline constexpr const char* kDocumentTools = "document-tools";
inline constexpr const char* kResize = "resize";
inline constexpr const char* kPrint = "print";

inline constexpr const char* kPreferences = "preferences";
inline constexpr const char* kPreferencesGeneral = "preferences-general";
inline constexpr const char* kPreferencesPaths = "preferences-paths";
inline constexpr const char* kPreferencesPrinting = "preferences-printing";

inline constexpr const char* kImageViewer = "image-viewer";
inline constexpr const char* kNotes = "notes";
inline constexpr const char* kAbout = "about";
inline constexpr const char* kTransparency = "transparency";

// The colour table keeps the id its Help button has always used.
inline constexpr const char* kColorTable = "PUNTEL0005";
inline constexpr const char* kAddColor = "add-color";
inline constexpr const char* kCustomColors = "custom-colors";
inline constexpr const char* kTempPalette = "temp-palette";
inline constexpr const char* kColorSearch = "PUNTEL0002";
inline constexpr const char* kColorMatching = "color-matching";

inline constexpr const char* kCharacterTable = "SPEED4";
inline constexpr const char* kColorChart = "color-chart";
inline constexpr const char* kPatternGrid = "pattern-grid";
inline constexpr const char* kFlossReport = "floss-report";
inline constexpr const char* kColorUsageReport = "color-usage-report";

inline constexpr const char* kDesignEditor = "design-editor";

inline constexpr const char* kFiles = "files";
inline constexpr const char* kCommandLine = "puntel-cli";
inline constexpr const char* kShortcuts = "shortcuts";

// Every id above, for the checks that each one leads to a page.
inline constexpr std::array kAllIds = {
    kContents,
    kGettingStarted,
    kMainWindow,
    kDocumentWindow,
    kDocumentTools,
    kResize,
    kPrint,
    kPreferences,
    kPreferencesGeneral,
    kPreferencesPaths,
    kPreferencesPrinting,
    kImageViewer,
    kNotes,
    kAbout,
    kTransparency,
    kColorTable,
    kAddColor,
    kCustomColors,
    kTempPalette,
    kColorSearch,
    kColorMatching,
    kCharacterTable,
    kColorChart,
    kPatternGrid,
    kFlossReport,
    kColorUsageReport,
    kDesignEditor,
    kFiles,
    kCommandLine,
    kShortcuts,
};

}  // namespace help_ids
