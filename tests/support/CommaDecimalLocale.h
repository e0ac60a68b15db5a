#pragma once

#include <clocale>
#include <locale>
#include <string>

namespace testing_support
{

/** Switches the process to a comma-decimal locale, as some hosts do, for one scope. */
class CommaDecimalLocale
{
public:
    CommaDecimalLocale()
    {
        previousNumeric = std::setlocale (LC_NUMERIC, nullptr);
        for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "de_DE" })
        {
            if (std::setlocale (LC_NUMERIC, name) != nullptr)
            {
                previousGlobal = std::locale::global (std::locale (name));
                active = true;
                return;
            }
        }
    }

    ~CommaDecimalLocale()
    {
        if (active)
            std::locale::global (previousGlobal);
        std::setlocale (LC_NUMERIC, previousNumeric.c_str());
    }

    /** True when printf really writes a comma now. */
    bool isActive() const
    {
        char buffer[16];
        std::snprintf (buffer, sizeof (buffer), "%.1f", 0.5);
        return active && std::string (buffer) == "0,5";
    }

private:
    std::string previousNumeric;
    std::locale previousGlobal;
    bool active = false;
};

} // namespace testing_support
