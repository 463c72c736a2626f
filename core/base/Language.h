#pragma once

// The languages the program writes its tables' titles, words and reports in: English, as
// tulvo-cli's tables are, and Russian, as the windows are.
enum class TLanguage { English, Russian };
