#include "simmac/SimSpellChecker.hpp"

namespace quorvane::platform::sim {

std::vector<SpellLanguage> SimSpellChecker::availableLanguages() const {
    return {
        {"en", "English"},
        {"en_AU", "English (Australia)"},
        {"en_CA", "English (Canada)"},
        {"en_GB", "English (United Kingdom)"},
        {"en_IN", "English (India)"},
        {"en_JP", "English (Japan)"},
        {"en_SG", "English (Singapore)"},
        {"ar", "Arabic"},
        {"da", "Danish"},
        {"de", "German"},
        {"es", "Spanish"},
        {"fi", "Finnish"},
        {"fr", "French"},
        {"he", "Hebrew"},
        {"hi", "Hindi"},
        {"it", "Italian"},
        {"ko", "Korean"},
        {"nb", "Norwegian Bokmål"},
        {"nl", "Dutch"},
        {"pl", "Polish"},
        {"pt_BR", "Portuguese (Brazil)"},
        {"pt_PT", "Portuguese (Portugal)"},
        {"ru", "Russian"},
        {"sv", "Swedish"},
        {"tr", "Turkish"},
        {"uk", "Ukrainian"},
        {"vi", "Vietnamese"},
    };
}

}  // namespace quorvane::platform::sim
