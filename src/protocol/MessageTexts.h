// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Fixed texts the program shows, kept in one place so that the windows, the
// text-fit checks and the tests use the same words.
namespace MessageTexts {

// The detection window's warning while no meter answers.
QString meterNotCommunicating();
// The detection window's line once a meter has answered; its identification follows.
QString connectedTo();
// The support address under the logo.
QString supportAddress();

// Message box titles.
QString fatalErrorTitle(); // a start-up that cannot go on
QString errorTitle();      // everything else that went wrong

// A start-up count the meter did not give. Contact and ratio meters name the
// winding meter too: the meters' users know this text.
QString windingMeterNotAnswering();
QString cableMeterNotAnswering();
// A file that came garbled, or not at all.
QString downloadFailed();
QString communicationError();
// The meter went away while its files were read.
QString meterLost();
// An export that was written.
QString filesDownloaded();

} // namespace MessageTexts
