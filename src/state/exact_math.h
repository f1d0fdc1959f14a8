// atan, sin and cos that give the same bits on every platform and compiler.
#pragma once

namespace state {

// The C library's atan, sin and cos differ in their last bits between platforms (and even
// between CPUs), and the shot's steering feeds them into the game's state. These are
// computed from IEEE-754 + - * / alone, to within 2^-102 relative, and then rounded to
// nearest: the result is the correctly rounded value unless the exact one lies within
// 2^-102 of the middle between two doubles (an input for which that happens is
// astronomically rare, and even then every platform gives the same bits).

// atan x for every double: +-pi/2 (rounded) at +-infinity, NaN for NaN.
double ExactAtan(double x);

// sin x and cos x for every finite double: below |x| = 8 a short reduction by pi/2,
// beyond it a slower one by all the bits of 2/pi. NaN for infinities and NaN.
double ExactSin(double x);
double ExactCos(double x);

// The value before that last rounding, hi + lo (|lo| at most half an ulp of hi, hi the
// result), so that tests can hold it to the 2^-102.
struct Unrounded {
  double hi;
  double lo;
};
Unrounded AtanUnrounded(double x);
Unrounded SinUnrounded(double x);
Unrounded CosUnrounded(double x);

}  // namespace state
