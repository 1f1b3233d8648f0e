#include "notation/key_spelling.h"

#include <cmath>
#include <cstdlib>

namespace zelvo::notation {

namespace {

constexpr char kLetters[] = "CDEFGAB";
constexpr int kNaturals[] = {0, 2, 4, 5, 7, 9, 11};
// The letters in the order the signature sharps them (flats go backwards).
constexpr char kSharpOrder[] = "FCGDAEB";

int mod12(int value) { return ((value % 12) + 12) % 12; }

// The alteration the signature gives the letter.
int signature_alter(int fifths, char step) {
  int place = 0;
  while (kSharpOrder[place] != step) ++place;
  if (fifths > 0) return place < fifths ? 1 : 0;
  if (fifths < 0) return 6 - place < -fifths ? -1 : 0;
  return 0;
}

// The scale tone of the signature whose pitch class is `pc`, if any.
bool scale_tone(int fifths, int pc, Spelling& spelling) {
  for (int i = 0; i < 7; ++i) {
    const int alter = signature_alter(fifths, kLetters[i]);
    if (mod12(kNaturals[i] + alter) == pc) {
      spelling = {kLetters[i], alter};
      return true;
    }
  }
  return false;
}

int major_tonic(int fifths) { return mod12(7 * fifths); }
int key_tonic(Key key) { return mod12(major_tonic(key.fifths) + (key.minor ? 9 : 0)); }

// How far the pitch classes are from the key's scale: tones of one and not
// the other. A minor key's sixth and seventh may each be natural, raised or
// both.
int distance(const bool present[12], Key key) {
  bool scale[12] = {};
  for (int i = 0; i < 7; ++i) scale[mod12(kNaturals[i] + signature_alter(key.fifths, kLetters[i]))] = true;
  const int tonic = key_tonic(key);
  int cost = 0;
  if (key.minor) {
    scale[mod12(tonic + 9)] = true;
    scale[mod12(tonic + 11)] = true;
    for (const int degree : {8, 10}) {
      if (!present[mod12(tonic + degree)] && !present[mod12(tonic + degree + 1)]) ++cost;
    }
    for (const int degree : {0, 2, 3, 5, 7}) cost += present[mod12(tonic + degree)] ? 0 : 1;
    for (int pc = 0; pc < 12; ++pc) cost += present[pc] && !scale[pc] ? 1 : 0;
    return cost;
  }
  for (int pc = 0; pc < 12; ++pc) cost += present[pc] != scale[pc] ? 1 : 0;
  return cost;
}

// The signature of a key by its tonic; of the two enharmonic signatures
// the one with fewer sharps or flats, and for six of them D-sharp minor and
// G-flat major give way to E-flat minor and F-sharp major.
Key key_of_tonic(int tonic, bool minor) {
  int fifths = mod12(7 * mod12(tonic + (minor ? 3 : 0)));
  if (fifths > 6 || (minor && fifths == 6)) fifths -= 12;
  return {fifths, minor};
}

}  // namespace

int signature_alter(Key key, char step) {
  for (int i = 0; i < 7; ++i) {
    if (kLetters[i] == step) return signature_alter(key.fifths, step);
  }
  return 0;
}

Key fit_key(const bool present[12], int tonic) {
  Key best;
  int best_cost = 1 << 20;
  bool best_hinted = false;
  for (int fifths = -7; fifths <= 7; ++fifths) {
    for (const bool minor : {false, true}) {
      const Key key{fifths, minor};
      const bool hinted = tonic >= 0 && key_tonic(key) == mod12(tonic);
      if (minor && !hinted && !present[mod12(key_tonic(key) + 11)]) continue;
      const int cost = distance(present, key);
      bool better = cost < best_cost;
      if (cost == best_cost) {
        if (hinted != best_hinted) {
          better = hinted;
        } else if (std::abs(fifths) != std::abs(best.fifths)) {
          better = std::abs(fifths) < std::abs(best.fifths);
        } else {
          better = fifths < best.fifths;
        }
      }
      if (better) {
        best = key;
        best_cost = cost;
        best_hinted = hinted;
      }
    }
  }
  return best;
}

Key estimate_key(const std::vector<int>& pitches, const std::vector<int64_t>& weights) {
  // The probe-tone profiles of a major and a minor key, from the tonic up.
  static constexpr double kMajor[] = {6.35, 2.23, 3.48, 2.33, 4.38, 4.09, 2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
  static constexpr double kMinor[] = {6.33, 2.68, 3.52, 5.38, 2.60, 3.53, 2.54, 4.75, 3.98, 2.69, 3.34, 3.17};
  double profile[12] = {};
  double total = 0;
  for (size_t i = 0; i < pitches.size() && i < weights.size(); ++i) {
    if (weights[i] <= 0) continue;
    profile[mod12(pitches[i])] += static_cast<double>(weights[i]);
    total += static_cast<double>(weights[i]);
  }
  if (total <= 0) return Key{};
  const auto correlation = [&](const double* shape, int tonic) {
    double mean_a = 0;
    double mean_b = 0;
    for (int pc = 0; pc < 12; ++pc) {
      mean_a += profile[pc] / 12;
      mean_b += shape[mod12(pc - tonic)] / 12;
    }
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (int pc = 0; pc < 12; ++pc) {
      const double a = profile[pc] - mean_a;
      const double b = shape[mod12(pc - tonic)] - mean_b;
      ab += a * b;
      aa += a * a;
      bb += b * b;
    }
    return aa <= 0 || bb <= 0 ? 0.0 : ab / std::sqrt(aa * bb);
  };
  Key best;
  double best_score = -2;
  for (int tonic = 0; tonic < 12; ++tonic) {
    for (const bool minor : {false, true}) {
      const double score = correlation(minor ? kMinor : kMajor, tonic);
      // Strictly better only: equal scores keep C major and the earlier tonic.
      if (score > best_score + 1e-12) {
        best_score = score;
        best = key_of_tonic(tonic, minor);
      }
    }
  }
  return best;
}

Spelling spell_pitch(int pitch, Key key) {
  const int pc = mod12(pitch);
  Spelling spelling;
  if (scale_tone(key.fifths, pc, spelling)) return spelling;
  const int tonic = key_tonic(key);
  if (key.minor && (pc == mod12(tonic + 9) || pc == mod12(tonic + 11))) {
    scale_tone(key.fifths, mod12(pc - 1), spelling);
    return {spelling.step, spelling.alter + 1};
  }
  // A tone outside a seven-tone scale lies a semitone above one scale tone
  // and below another.
  Spelling below;
  Spelling above;
  scale_tone(key.fifths, mod12(pc - 1), below);
  scale_tone(key.fifths, mod12(pc + 1), above);
  const Spelling raised{below.step, below.alter + 1};
  const Spelling lowered{above.step, above.alter - 1};
  if (std::abs(raised.alter) != std::abs(lowered.alter)) {
    return std::abs(raised.alter) < std::abs(lowered.alter) ? raised : lowered;
  }
  return key.fifths >= 0 ? raised : lowered;
}

}  // namespace zelvo::notation
