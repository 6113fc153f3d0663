// Any bytes may be fed to the reader. It must not crash, and whatever it
// accepts must survive write -> read unchanged, byte for byte on rewriting.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkError(const trelvane::ReadResult &r)
{
    check(r.error->line >= 1);
    check(!r.error->caption.empty());
    check(!r.error->problem.empty());
    check(!r.error->where().empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace trelvane;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    const ReadResult startUp = readSettings(bytes, ReadMode::StartUp);
    const ReadResult factory = readSettings(bytes, ReadMode::Factory);

    // The start-up reading only refuses more (empty values), it never reads differently.
    if (startUp.ok()) {
        check(factory.ok());
        check(factory.settings == startUp.settings);
        check(factory.lines == startUp.lines);
    }

    for (const ReadResult *r : {&startUp, &factory}) {
        if (!r->ok()) {
            checkError(*r);
            continue;
        }
        for (std::size_t i = 1; i < r->lines.size(); ++i)
            check(r->lines[i - 1] >= 1 && r->lines[i - 1] <= r->lines[i]);

        const std::string written = writeSettings(r->settings);
        for (ReadMode mode : {ReadMode::StartUp, ReadMode::Factory}) {
            const ReadResult again = readSettings(written, mode);
            check(again.ok());
            check(again.settings == r->settings);
            for (std::size_t i = 0; i < again.lines.size(); ++i)
                check(again.lines[i] == static_cast<int>(i) + 1);
            check(writeSettings(again.settings) == written);
        }

        const ReadResult loaded = loadSettings(bytes, r == &startUp ? ReadMode::StartUp : ReadMode::Factory);
        const auto rangeError = checkRanges(r->settings, r->lines);
        check(loaded.ok() == !rangeError.has_value());
        if (rangeError) {
            checkError(loaded);
            check(loaded.error->where() == rangeError->where());
        }
    }
    return 0;
}
