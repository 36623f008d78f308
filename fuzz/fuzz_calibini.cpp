// The calibration page's import on files of any content, in its three forms: reference and
// measurement tables of X, Y, Z, the same tables in x, y, Lv (x and y checked as
// chromaticities), and the matrix section. The first byte picks the form and the group count,
// the rest is the file. An accepted import holds only requested keys, in order, with non-empty
// values (a chromaticity between 0 and 1) and exports to a file that imports the same; a
// refused one holds nothing.

#include "calibrationlogic.h"
#include "fuzzfiles.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace Calibration;
using FuzzFiles::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const QString path = FuzzFiles::scratchDir() + QStringLiteral("/import.ini");
    const int form = data[0] % 3;
    static const int counts[] = {1, 3, 4, 5};
    const int groups = counts[(data[0] / 3) % 4];
    FuzzFiles::writeFile(path, QByteArray(reinterpret_cast<const char *>(data + 1), int(size - 1)));

    QVector<ImportRequest> requests;
    if (form == 2) {
        requests = {
            {QStringLiteral("MatrixParaData"), matrixKeys(), [](const QString &) { return Rule::Matrix; }}};
    } else {
        const bool xyLv = form == 1;
        const auto rule = [xyLv](const QString &k) {
            return xyLv && (k.startsWith('X') || k.startsWith('Y')) ? Rule::Chromaticity : Rule::Value;
        };
        const QStringList keys = groupKeys(groups);
        requests = {{QStringLiteral("MatrixRefData"), keys, rule},
                    {QStringLiteral("MatrixMesData"), keys, rule}};
    }
    const Imported in = loadIni(path, requests);
    if (!in.ok) {
        check(in.sections.isEmpty());
        return 0;
    }
    check(in.sections.size() == requests.size());
    for (int s = 0; s < requests.size(); ++s) {
        const ImportRequest &rq = requests.at(s);
        check(in.sections.at(s).first == rq.section);
        int next = 0; // keys come in the order asked for
        for (const auto &kv : in.sections.at(s).second) {
            const int at = int(rq.keys.indexOf(kv.first, next));
            check(at >= 0 && !kv.second.isEmpty());
            next = at + 1;
            if (rq.rule(kv.first) == Rule::Chromaticity) {
                bool ok = false;
                const double v = kv.second.toDouble(&ok);
                check(ok && v >= 0.0 && v <= 1.0);
            }
            check(in.value(rq.section, kv.first) == kv.second);
        }
    }
    // What was imported, exported as the page writes it, imports the same again.
    QVector<Section> sections;
    for (const auto &s : in.sections)
        sections.append({s.first, s.second});
    static const QString again = FuzzFiles::scratchDir() + QStringLiteral("/export.ini");
    FuzzFiles::writeFile(again, iniText(sections));
    const Imported back = loadIni(again, requests);
    check(back.ok && back.sections == in.sections);
    return 0;
}
