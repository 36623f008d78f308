#include "fft.h"

#include <cmath>
#include <vector>

fft::fft(QObject *parent) : QObject(parent) {}

bool fft::isPowerOfTwo(int n)
{
    return n >= 2 && (n & (n - 1)) == 0;
}

int fft::log2(int n)
{
    if (!isPowerOfTwo(n))
        return -1;
    int m = 0;
    while ((1 << m) < n)
        ++m;
    return m;
}

void fft::makeTwiddles(int n)
{
    if (m_n == n)
        return;
    // A full-precision 2π: a short constant would put a phase error of order 1e-9 on every
    // bin, more than the spectrum's rounding.
    const double theta = -2.0 * M_PI / n;
    m_twiddles.resize(size_t(n));
    for (int k = 0; k < n / 2; ++k)
        m_twiddles[size_t(k)] = Complex(std::cos(k * theta), std::sin(k * theta));
    for (int k = n / 2; k < n; ++k)
        m_twiddles[size_t(k)] = -m_twiddles[size_t(k - n / 2)];
    m_n = n;
}

// Copies the input into out in bit-reversed order (through a copy when they overlap).
bool fft::prepare(const Complex *in, Complex *out, int n)
{
    const int m = log2(n);
    if (m < 0 || !in || !out)
        return false;
    makeTwiddles(n);
    std::vector<Complex> copy;
    if (in == out) {
        copy.assign(in, in + n);
        in = copy.data();
    }
    if (int(m_reversed.size()) != n) {
        m_reversed.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            int r = 0;
            for (int b = 0; b < m; ++b)
                r |= ((i >> b) & 1) << (m - 1 - b);
            m_reversed[size_t(i)] = r;
        }
    }
    for (int i = 0; i < n; ++i)
        out[m_reversed[size_t(i)]] = in[i];
    return true;
}

bool fft::forward(const Complex *in, Complex *out, int n)
{
    if (!prepare(in, out, n))
        return false;
    const int m = log2(n);
    // Plain doubles (std::complex's operator* checks for infinities and NaN on every product,
    // which costs more than the butterfly itself) and, per stage, its twiddles side by side.
    double *x = reinterpret_cast<double *>(out);
    const double *tw = reinterpret_cast<const double *>(m_twiddles.data());
    m_stage.resize(size_t(n));
    for (int s = 1; s <= m; ++s) {
        const int span = 1 << (s - 1);
        const int stride = 1 << (m - s);
        for (int j = 0; j < span; ++j) {
            m_stage[size_t(2 * j)] = tw[2 * j * stride];
            m_stage[size_t(2 * j + 1)] = tw[2 * j * stride + 1];
        }
        const double *w = m_stage.data();
        for (int start = 0; start < n; start += 2 * span) {
            double *a = x + 2 * start;
            double *b = a + 2 * span;
            for (int j = 0; j < span; ++j) {
                const double wr = w[2 * j], wi = w[2 * j + 1];
                const double br = b[2 * j], bi = b[2 * j + 1];
                const double tr = wr * br - wi * bi;
                const double ti = wr * bi + wi * br;
                const double ar = a[2 * j], ai = a[2 * j + 1];
                a[2 * j] = ar + tr;
                a[2 * j + 1] = ai + ti;
                b[2 * j] = ar - tr;
                b[2 * j + 1] = ai - ti;
            }
        }
    }
    return true;
}

bool fft::inverse(const Complex *in, Complex *out, int n)
{
    const int m = log2(n);
    if (m < 0 || !in || !out)
        return false;
    makeTwiddles(n);
    std::vector<Complex> work(in, in + n);
    // The stages of the forward transform undone last to first: a = (a' + b') / 2 and
    // b = (a' − b') / (2w), the division by w written as conj(w) / |w|².
    for (int s = m; s >= 1; --s) {
        const int span = 1 << (s - 1);
        const int stride = 1 << (m - s);
        for (int start = 0; start < n; start += 2 * span) {
            for (int j = 0; j < span; ++j) {
                const Complex w = m_twiddles[size_t(j * stride)];
                const Complex a = work[size_t(start + j)];
                const Complex b = work[size_t(start + j + span)];
                work[size_t(start + j)] = (a + b) * 0.5;
                Complex d = (a - b) * 0.5 * std::conj(w);
                const double w2 = std::norm(w);
                if (w2 > 0.0)
                    d /= w2;
                work[size_t(start + j + span)] = d;
            }
        }
    }
    // Undo the bit-reversed order (the permutation is its own inverse).
    return prepare(work.data(), out, n);
}
