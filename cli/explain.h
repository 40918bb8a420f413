#pragma once

#include <QString>

class Session;
struct Sentence;

// How a sentence was made, in one line: template, genders of its noun phrases and the file and
// line of every word, e.g.
//   A  g=1,0,2,2  intro:14 adjF:3 nounF:3 nounM2:40 verbN:7 nounN1:22
// A word loaded by an earlier theme (a window loads a theme over the one before, whose words
// stay in the slots the new theme does not reach) is marked with that theme's folder
// ("00/nounN:5"); a slot no file reached is "(пусто):1234".
QString explainSentence(const Sentence& sentence, const Session& session);
