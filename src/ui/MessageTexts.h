// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Fixed texts the program shows, kept in one place so that the windows, the
// text-fit checks and the tests use the same words.
namespace MessageTexts {

// The detection window's warning while no meter answers.
QString meterNotCommunicating();
// The support address under the logo.
QString supportAddress();

} // namespace MessageTexts
