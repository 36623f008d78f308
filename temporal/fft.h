#pragma once

#include <QObject>

#include <complex>
#include <vector>

// Radix-2 decimation-in-time transform of the waveform pages. Complex values are (real,
// imaginary) pairs of doubles; std::complex<double> has exactly that layout.
class fft : public QObject
{
    Q_OBJECT
public:
    using Complex = std::complex<double>;

    explicit fft(QObject *parent = nullptr);

    // n complex samples in, n bins out, no scaling. False (and nothing written) when n is not
    // a power of two of at least 2 or a pointer is missing. in and out may be the same array.
    bool forward(const Complex *in, Complex *out, int n);
    // The inverse: scaled by 1/n, so forward followed by inverse gives the input back.
    bool inverse(const Complex *in, Complex *out, int n);

    static bool isPowerOfTwo(int n);
    // log2 of a power of two; -1 for anything else.
    static int log2(int n);

private:
    // Twiddles w_k = exp(-2πik/n) for k < n/2; the upper half is their negation.
    void makeTwiddles(int n);
    bool prepare(const Complex *in, Complex *out, int n);

    int m_n = 0;
    std::vector<Complex> m_twiddles;
    std::vector<int> m_reversed; // bit-reversed index of each position
    std::vector<double> m_stage; // one stage's twiddles, (re, im) in a row
};
