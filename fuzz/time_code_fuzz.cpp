// leadingNumber and timeToSeconds against a slow reference of their own. Each
// field is read again here into its exact value, with arbitrary-precision
// integers. leadingNumber must give the real nearest to that value, halves to
// the even neighbour; timeToSeconds must give the total of those reals rounded
// half to even, or fail with Overflow when it leaves 32 bits.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/time_code.h"
#include "fuzz/fuzz_check.h"

namespace {

using reVoziz::fuzz::require;

// A natural number of any size, in base 2^32, lowest limb first, without
// leading zero limbs.
class Natural {
 public:
  Natural() = default;
  explicit Natural(std::uint64_t v) {
    for (; v; v >>= 32) limbs_.push_back(static_cast<std::uint32_t>(v));
  }
  void multiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t v = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(v);
      carry = v >> 32;
    }
    if (carry) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }
  void timesPowerOfTen(std::int64_t n) {
    for (; n >= 9; n -= 9) multiplyAdd(1000000000, 0);
    for (; n > 0; --n) multiplyAdd(10, 0);
  }
  void timesPowerOfTwo(std::int64_t n) {
    for (; n >= 31; n -= 31) multiplyAdd(std::uint32_t{1} << 31, 0);
    if (n > 0) multiplyAdd(std::uint32_t{1} << n, 0);
  }
  bool isZero() const { return limbs_.empty(); }
  std::size_t bits() const {
    if (limbs_.empty()) return 0;
    std::size_t top = 0;
    for (std::uint32_t v = limbs_.back(); v; v >>= 1) ++top;
    return (limbs_.size() - 1) * 32 + top;
  }
  friend int compare(const Natural& a, const Natural& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

 private:
  std::vector<std::uint32_t> limbs_;
};

// The exact value of one field: mantissa x 10^exponent, with a sign.
struct Exact {
  bool negative = false;
  Natural mantissa;
  std::int64_t exponent = 0;
  std::int64_t significantDigits = 0;  // decimal digits of the mantissa; 0 for &H and &O
};

// The leading-number rule, read independently of the code under test.
Exact readField(std::string_view raw) {
  std::string s;
  for (char c : raw) {
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  }
  Exact x;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    const bool hex = s[1] == 'H' || s[1] == 'h';
    for (std::size_t i = 2; i < s.size(); ++i) {
      const char c = s[i];
      int digit = -1;
      if (c >= '0' && c <= (hex ? '9' : '7')) digit = c - '0';
      if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) break;
      x.mantissa.multiplyAdd(hex ? 16 : 8, static_cast<std::uint32_t>(digit));
    }
    return x;
  }
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) x.negative = s[i++] == '-';
  std::int64_t digits = 0, fractionDigits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] == '.' && !point) {
      point = true;
      continue;
    }
    if (s[i] < '0' || s[i] > '9') break;
    ++digits;
    if (point) ++fractionDigits;
    if (!x.mantissa.isZero() || s[i] != '0') ++x.significantDigits;
    x.mantissa.multiplyAdd(10, static_cast<std::uint32_t>(s[i] - '0'));
  }
  if (digits == 0) return Exact{};
  std::int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
    const std::size_t first = j;
    for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j) {
      exponent = std::min<std::int64_t>(exponent * 10 + (s[j] - '0'), 100000000);
    }
    if (j == first) exponent = 0;  // no digits: not an exponent
    if (negative) exponent = -exponent;
  }
  x.exponent = exponent - fractionDigits;
  return x;
}

// The sign of |x| - b * 2^k, exactly.
int compareWithBinary(const Exact& x, std::uint64_t b, std::int64_t k) {
  Natural left = x.mantissa, right(b);
  left.timesPowerOfTen(std::max<std::int64_t>(x.exponent, 0));
  left.timesPowerOfTwo(std::max<std::int64_t>(-k, 0));
  right.timesPowerOfTwo(std::max<std::int64_t>(k, 0));
  right.timesPowerOfTen(std::max<std::int64_t>(-x.exponent, 0));
  return compare(left, right);
}

// Where |x| lies for certain without exact arithmetic: 1 beyond every finite
// real (at least 1e309), -1 below half the smallest one (below 1e-325), else 0.
int roughRange(const Exact& x) {
  if (x.significantDigits == 0) return x.mantissa.bits() > 1100 ? 1 : 0;
  const std::int64_t power = x.significantDigits - 1 + x.exponent;  // |x| in [10^power, 10^(power+1))
  return power >= 309 ? 1 : power <= -326 ? -1 : 0;
}

// d must be the real nearest to x, halves to the even neighbour.
void requireNearestReal(const Exact& x, double d, std::string_view input) {
  if (x.mantissa.isZero()) {
    require(d == 0, "a zero field read as nonzero", input);
    return;
  }
  require(d == 0 || std::signbit(d) == x.negative, "wrong sign", input);
  const double a = std::fabs(d);
  const int rough = roughRange(x);
  if (std::isinf(a)) {
    // Halfway between the largest real and 2^1024 already rounds up.
    require(rough > 0 || (rough == 0 && compareWithBinary(x, (std::uint64_t{1} << 54) - 1, 970) >= 0),
            "infinity for a number within the range of reals", input);
    return;
  }
  if (a == 0) {
    require(rough < 0 || (rough == 0 && compareWithBinary(x, 1, -1075) <= 0),
            "zero for a number that has a nearest nonzero real", input);
    return;
  }
  require(rough == 0, "a finite nonzero real for a number beyond their range", input);
  int e = 0;
  auto m = static_cast<std::uint64_t>(std::ldexp(std::frexp(a, &e), 53));
  std::int64_t k = e - 53;
  for (; k < -1074; ++k) m >>= 1;  // subnormal: drop the zero bits below the smallest step
  const std::uint64_t m2 = 2 * m;
  const bool binadeStart = m == (std::uint64_t{1} << 52) && k > -1074;  // finer steps below
  const int low = binadeStart ? compareWithBinary(x, 2 * m2 - 1, k - 2)
                              : compareWithBinary(x, m2 - 1, k - 1);
  const int high = compareWithBinary(x, m2 + 1, k - 1);
  require(low >= 0 && high <= 0, "not the nearest real", input);
  if (low == 0 || high == 0) require(m % 2 == 0, "a tie not given to the even neighbour", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> fields;
  for (std::size_t start = 0; !input.empty();) {
    const std::size_t colon = input.find(':', start);
    fields.push_back(input.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  std::vector<double> reals;
  for (std::string_view field : fields) {
    reals.push_back(reVoziz::leadingNumber(field));
    requireNearestReal(readField(field), reals.back(), field);
  }

  // The total in reals, as the rule states it, then rounded by the C library.
  double total = 0;
  bool overflow = false;
  if (!reals.empty() && reals.size() <= 3) {
    const double weights[3][3] = {{1, 0, 0}, {60, 1, 0}, {3600, 60, 1}};
    for (std::size_t i = 0; i < reals.size(); ++i) {
      total += std::fabs(reals[i]) * weights[reals.size() - 1][i];
    }
    const double rounded = std::nearbyint(total);  // the default mode: nearest, ties to even
    overflow = !std::isfinite(rounded) || rounded > std::numeric_limits<std::int32_t>::max();
    total = rounded;
  }
  try {
    const std::int32_t seconds = reVoziz::timeToSeconds(input);
    require(!overflow, "no overflow for a total beyond 32 bits", input);
    require(seconds == total, "timeToSeconds differs from the reference", input);
  } catch (const reVoziz::Error& e) {
    require(overflow && e.code() == reVoziz::ErrorCode::Overflow, "timeToSeconds failed", input);
  }
  return 0;
}
