// cfgfd.ini comes from disk and may hold anything. Whatever it holds, reading
// must not crash, and a value written must read back as written while every
// other section keeps its value.

#include "app/pricesettings.h"
#include "app/settingsfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    pellion::SettingsFile settings("fuzz.ini");
    settings.setContents(text);
    std::string before[pellion::priceSettings.size()];
    for (std::size_t i = 0; i < pellion::priceSettings.size(); ++i)
        before[i] = settings.read(pellion::priceSettings[i].section, "0", "ERROR");

    settings.write("cost", "0", "0.25");
    pellion::SettingsFile reread("fuzz.ini");
    reread.setContents(settings.contents());
    if (reread.read("cost", "0", "ERROR") != "0.25")
        std::abort();
    for (std::size_t i = 1; i < pellion::priceSettings.size(); ++i)
        if (reread.read(pellion::priceSettings[i].section, "0", "ERROR") != before[i])
            std::abort();
    return 0;
}
