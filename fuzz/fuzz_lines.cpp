// libFuzzer entry: history and recording-file lines from any store contents.
#include "FuzzChecks.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The history list is a text document, which wants a GUI application (no screen).
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    orv::fuzz::checkLines(data, size);
    return 0;
}
