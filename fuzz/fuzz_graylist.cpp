// The gray-level dialog's custom list ("Custom_GaryScanning.txt", edited by hand) of any
// content: readCustomList, then what a run makes of the chosen lines (the custom task with the
// colours as they are, each colour parsed as the scan shows it) and of the same lines taken as
// gray levels. Lines come back non-blank without line ends; a colour that parses has three
// parts of 0..255; a level task holds only levels of 0..255.

#include "fuzzfiles.h"
#include "graylogic.h"

#include <cstddef>
#include <cstdint>

using namespace GrayLogic;
using FuzzFiles::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = FuzzFiles::scratchDir() + QStringLiteral("/Custom_GaryScanning.txt");
    FuzzFiles::writeFile(path, QByteArray(reinterpret_cast<const char *>(data), int(size)));
    const QStringList lines = readCustomList(path);
    check(lines.size() <= int(size));
    for (const QString &line : lines) {
        check(!line.trimmed().isEmpty() && !line.contains(QLatin1Char('\n')) &&
              !line.contains(QLatin1Char('\r')));
        int r = -1, g = -1, b = -1;
        if (parseColour(line, &r, &g, &b)) {
            check(r >= 0 && r <= 255 && g >= 0 && g <= 255 && b >= 0 && b <= 255);
            int r2 = -1, g2 = -1, b2 = -1;
            check(parseColour(colourString(r, g, b), &r2, &g2, &b2) && r2 == r && g2 == g && b2 == b);
        }
    }
    Selection custom;
    custom.flags = FlagCustom;
    custom.levels = lines;
    const QVector<Task> tasks = selectionTasks(custom);
    check(tasks.size() == (lines.isEmpty() ? 0 : 1));
    Selection levels;
    levels.flags = FlagWhite | FlagRed | FlagGreen | FlagBlue;
    levels.levels = lines;
    for (const Task &t : selectionTasks(levels)) {
        check(t.colours.size() == t.levels.size() && t.levels.size() <= lines.size());
        for (double l : t.levels)
            check(l >= 0 && l <= 255);
    }
    return 0;
}
