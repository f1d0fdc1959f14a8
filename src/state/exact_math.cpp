// Correctly rounded atan, sin and cos from + - * / alone, in double-double arithmetic.
#include "state/exact_math.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

// Every step below relies on each operation being rounded once to a 53-bit double: no x87
// intermediates, no fast-math reassociation, and no a*b+c fused into one rounding (the
// build passes -ffp-contract=off; clang also takes the pragma).
#if FLT_EVAL_METHOD != 0
#error "exact_math needs double arithmetic done in double precision (SSE2, not x87)"
#endif
#ifdef __FAST_MATH__
#error "exact_math cannot be built with -ffast-math"
#endif
#ifdef __clang__
#pragma clang fp contract(off)
#endif

namespace state {
namespace {

// hi + lo, |lo| at most half an ulp of hi.
struct DoubleDouble {
  double hi;
  double lo;
};

#include "exact_math_tables.inc"

// Error-free transformations (Knuth's TwoSum, Dekker's FastTwoSum, split and product).

// s + e == a + b exactly.
DoubleDouble TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// The same when |a| >= |b|.
DoubleDouble FastTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// hi + lo == a, each with at most 26 significant bits.
DoubleDouble Split(double a) {
  constexpr double kSplitter = 0x1p27 + 1;
  const double c = kSplitter * a;
  const double hi = c - (c - a);
  return {hi, a - hi};
}

// p + e == a * b exactly (no product here comes near overflow or underflow).
DoubleDouble TwoProd(double a, double b) {
  const double p = a * b;
  const DoubleDouble as = Split(a);
  const DoubleDouble bs = Split(b);
  return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

// Double-double arithmetic, after Joldes, Muller and Popescu (2017): relative errors of a
// few 2^-106 each, whatever the cancellation.

DoubleDouble Add(DoubleDouble a, double b) {
  const DoubleDouble s = TwoSum(a.hi, b);
  return FastTwoSum(s.hi, s.lo + a.lo);
}

DoubleDouble Add(DoubleDouble a, DoubleDouble b) {
  const DoubleDouble s = TwoSum(a.hi, b.hi);
  const DoubleDouble t = TwoSum(a.lo, b.lo);
  const DoubleDouble v = FastTwoSum(s.hi, s.lo + t.hi);
  return FastTwoSum(v.hi, v.lo + t.lo);
}

DoubleDouble Neg(DoubleDouble a) { return {-a.hi, -a.lo}; }

DoubleDouble Mul(DoubleDouble a, double b) {
  const DoubleDouble p = TwoProd(a.hi, b);
  return FastTwoSum(p.hi, p.lo + a.lo * b);
}

DoubleDouble Mul(DoubleDouble a, DoubleDouble b) {
  const DoubleDouble p = TwoProd(a.hi, b.hi);
  return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Three quotient digits, each from the remainder left by the ones before.
DoubleDouble Div(DoubleDouble a, DoubleDouble b) {
  const double q1 = a.hi / b.hi;
  DoubleDouble r = Add(a, Neg(Mul(b, q1)));
  const double q2 = r.hi / b.hi;
  r = Add(r, Neg(Mul(b, q2)));
  const double q3 = r.hi / b.hi;
  return Add(FastTwoSum(q1, q2), q3);
}

// c[0] + z c[1] + z^2 c[2] + ... over n coefficients: the first `exact` in double-double,
// the rest (whose terms lie below 2^-57 of the total) in double.
template <int n>
DoubleDouble Series(const DoubleDouble (&c)[n], int exact, DoubleDouble z) {
  double tail = c[n - 1].hi;
  for (int k = n - 2; k >= exact; --k) tail = tail * z.hi + c[k].hi;
  DoubleDouble p{tail, 0.0};
  for (int k = exact - 1; k >= 0; --k) p = Add(Mul(p, z), c[k]);
  return p;
}

// atan t for |t| <= 1/64: t + t z (-1/3 + z/5 - ...), z = t^2, to z^9/19 (the next term
// is below 2^-124 of t; those from z^5/11 on lie below 2^-63 and go in double).
DoubleDouble AtanSmall(DoubleDouble t) {
  const DoubleDouble z = Mul(t, t);
  return Add(t, Mul(Mul(t, z), Series(kAtanSeries, 4, z)));
}

// sin r for |r| <= 0.786: r + r z (-1/3! + z/5! - ...) to z^14/29!; from z^9/19! on in double.
DoubleDouble SinSmall(DoubleDouble r) {
  const DoubleDouble z = Mul(r, r);
  return Add(r, Mul(Mul(r, z), Series(kSinSeries, 8, z)));
}

// cos r for |r| <= 0.786: 1 + z (-1/2! + z/4! - ...) to z^15/30!; from z^9/18! on in double.
DoubleDouble CosSmall(DoubleDouble r) {
  const DoubleDouble z = Mul(r, r);
  return Add(Mul(z, Series(kCosSeries, 8, z)), 1.0);
}

// x = quadrant * pi/2 + r (quadrant taken mod 4), |r| <= pi/4 and a hair.
struct Reduced {
  int quadrant;
  DoubleDouble r;
};

// |x| < 8: Cody and Waite's reduction by pi/2 in four pieces. k times each of the first
// three is exact, and so is x - k * piece 1; what is left, at least 2^-54 for any double
// in range (pi's nearest double is 2^-53 off), keeps about 2^-104 of its own size.
Reduced ReduceShort(double x) {
  constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
  const double k = std::floor(x * kTwoOverPi + 0.5);
  DoubleDouble r = TwoSum(x, -k * kHalfPiPieces[0]);
  r = Add(r, -k * kHalfPiPieces[1]);
  r = Add(r, -k * kHalfPiPieces[2]);
  r = Add(r, -k * kHalfPiPieces[3]);
  return {static_cast<int>(k), r};
}

// The 32 bits of 2/pi that start at bit `first` after the binary point (bit 0 weighs
// 1/2); the bits before the point are 0, and none past the table is ever asked for.
uint32_t TwoOverPiBits(int first) {
  constexpr int kWords = sizeof(kTwoOverPiBits) / sizeof(kTwoOverPiBits[0]);
  const auto word = [](int j) -> uint64_t { return j >= 0 && j < kWords ? kTwoOverPiBits[j] : 0; };
  const int j = first >= 0 ? first / 32 : -((31 - first) / 32);  // rounded down
  const int bit = first - 32 * j;
  return static_cast<uint32_t>(((word(j) << 32) | word(j + 1)) >> (32 - bit));
}

// |x| >= 8, up to the largest double: Payne and Hanek's reduction. With x = m 2^e, the
// bits of 2/pi worth 4/x and more only add multiples of 4 to x * 2/pi, so 256 bits from
// there on, times m, give the quadrant and the fraction to within 2^-201; the fraction
// of any double is at least 2^-62 away from 0 or 1.
Reduced ReduceLong(double x) {
  const double ax = std::fabs(x);
  uint64_t bits;  // std::memcpy, not std::bit_cast: the web build's libc++ lacks it
  std::memcpy(&bits, &ax, sizeof bits);
  const int e = static_cast<int>(bits >> 52) - 1023 - 52;
  const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);

  // The window, least significant word first: x * 2/pi == m * window * 2^-254 (mod 4).
  uint32_t window[8];
  for (int w = 0; w < 8; ++w) window[7 - w] = TwoOverPiBits(e - 2 + 32 * w);
  uint32_t product[10] = {};
  const uint64_t mWords[2] = {m & 0xFFFFFFFF, m >> 32};
  for (int a = 0; a < 2; ++a) {
    uint64_t carry = 0;
    for (int i = 0; i < 8; ++i) {
      const uint64_t t = window[i] * mWords[a] + product[i + a] + carry;
      product[i + a] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
    product[8 + a] = static_cast<uint32_t>(carry);
  }

  // Bits 254 and 255 are the quadrant, bits 0 to 253 the fraction; from one half on the
  // fraction is taken less one, toward the next quadrant.
  int quadrant = static_cast<int>(product[7] >> 30);
  product[7] &= 0x3FFFFFFF;
  const bool upper = (product[7] >> 29) != 0;
  if (upper) {
    ++quadrant;
    uint64_t borrow = 0;  // product = 2^254 - product
    for (int i = 0; i < 8; ++i) {
      const uint64_t t = (i == 7 ? uint64_t{1} << 30 : 0) - product[i] - borrow;
      product[i] = static_cast<uint32_t>(t);
      borrow = (t >> 32) != 0 ? 1 : 0;
    }
  }
  // Five words from the first that is not 0 hold at least 129 significant bits.
  int top = 7;
  while (top > 0 && product[top] == 0) --top;
  DoubleDouble fraction{0.0, 0.0};
  for (int i = top; i >= 0 && i > top - 5; --i) {
    fraction = Add(fraction, std::ldexp(static_cast<double>(product[i]), 32 * i - 254));
  }
  DoubleDouble r = Mul(fraction, kHalfPi);
  if (upper) r = Neg(r);
  if (x < 0) return {-quadrant, Neg(r)};
  return {quadrant, r};
}

Reduced Reduce(double x) { return std::fabs(x) < 8 ? ReduceShort(x) : ReduceLong(x); }

// sin(quadrant pi/2 + r + quarters pi/2): sin r, cos r, -sin r, -cos r by quadrant.
DoubleDouble SineOfReduced(const Reduced& x, int quarters) {
  const int quadrant = (x.quadrant + quarters) & 3;
  const DoubleDouble y = (quadrant & 1) != 0 ? CosSmall(x.r) : SinSmall(x.r);
  return (quadrant & 2) != 0 ? Neg(y) : y;
}

}  // namespace

Unrounded AtanUnrounded(double x) {
  if (std::isnan(x)) return {x + x, 0.0};
  const double ax = std::fabs(x);
  // Below 2^-27 the next term, x^5/5, is under 2^-108 of x; from 2^60 on, pi/2 - 1/x
  // leaves out less than 2^-180. Both round to their first part.
  if (ax < 0x1p-27) return {x, -(x * x * x) / 3};
  if (ax >= 0x1p60) {
    const double sign = std::copysign(1.0, x);
    return {sign * kHalfPi.hi, sign * (kHalfPi.lo - 1 / ax)};
  }

  // atan x = pi/2 - atan(1/x) above 1; then atan u = atan c + atan((u - c) / (1 + u c))
  // with c the nearest multiple of 1/32.
  const bool inverted = ax > 1;
  const DoubleDouble u = inverted ? Div({1.0, 0.0}, {ax, 0.0}) : DoubleDouble{ax, 0.0};
  const int step = static_cast<int>(u.hi * 32 + 0.5);
  DoubleDouble t = u;
  if (step > 0) {
    const double c = step / 32.0;
    t = Div(Add(TwoSum(u.hi, -c), u.lo), Add(Mul(u, c), 1.0));
  }
  DoubleDouble y = Add(kAtanOfSteps[step], AtanSmall(t));
  if (inverted) y = Add(kHalfPi, Neg(y));
  if (x < 0) y = Neg(y);
  return {y.hi, y.lo};
}

Unrounded SinUnrounded(double x) {
  if (!std::isfinite(x)) return {x - x, 0.0};
  // Below 2^-26 the next term, x^5/120, is under 2^-110 of x.
  if (std::fabs(x) < 0x1p-26) return {x, -(x * x * x) / 6};
  const DoubleDouble y = SineOfReduced(Reduce(x), 0);
  return {y.hi, y.lo};
}

Unrounded CosUnrounded(double x) {
  if (!std::isfinite(x)) return {x - x, 0.0};
  // Below 2^-27 the next term, x^4/24, is under 2^-112.
  if (std::fabs(x) < 0x1p-27) return {1.0, -(x * x) / 2};
  const DoubleDouble y = SineOfReduced(Reduce(x), 1);  // cos x = sin(x + pi/2)
  return {y.hi, y.lo};
}

// hi + lo rounds to hi (the sum is normalised), which keeps -0 where lo is +0.
double ExactAtan(double x) { return AtanUnrounded(x).hi; }
double ExactSin(double x) { return SinUnrounded(x).hi; }
double ExactCos(double x) { return CosUnrounded(x).hi; }

}  // namespace state
