// The correction-matrix module: matrices of any shape and content, near-real readings as
// well as arbitrary doubles.

#include "tricorr.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

namespace {
Eigen::MatrixXd matrix(FuzzedDataProvider &in, int rows, int cols)
{
    Eigen::MatrixXd m(rows, cols);
    const bool plausible = in.ConsumeBool();
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r)
            m(r, c) =
                plausible ? in.ConsumeFloatingPointInRange(-0.1, 300.0) : in.ConsumeFloatingPoint<double>();
    }
    return m;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // Mostly the usual 3 rows; sometimes the wrong count, which must be refused.
    const int rows = in.ConsumeBool() ? 3 : in.ConsumeIntegralInRange(0, 4);
    const int cols = in.ConsumeIntegralInRange(0, 8);
    const Eigen::MatrixXd r = matrix(in, rows, cols), s = matrix(in, rows, cols);
    Eigen::MatrixXd w, e;
    if (in.ConsumeBool()) {
        if (TricorrMatrix_XYZ(r, s, &w) == 0 && (w.rows() != 3 || w.cols() != 3))
            __builtin_trap();
        TricorrError_XYZ(w, r, s, &e);
    } else {
        if (TricorrMatrix_xyLv(r, s, &w) == 0 && (w.rows() != 3 || w.cols() != 3))
            __builtin_trap();
        TricorrError_xyLv(w, r, s, &e);
    }
    // An arbitrary W as well: the error functions must refuse or report, never crash.
    const Eigen::MatrixXd w2 = matrix(in, in.ConsumeIntegralInRange(0, 4), in.ConsumeIntegralInRange(0, 4));
    TricorrError_XYZ(w2, r, s, &e);
    TricorrError_xyLv(w2, r, s, &e);
    return 0;
}
