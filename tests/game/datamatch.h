#ifndef TESTS_GAME_DATAMATCH_H
#define TESTS_GAME_DATAMATCH_H
//------------------------------------------------------------------------------
//  Helpers for matches on the game's own data (data/): the prototype paths
//  the data provides, the mouse at the centre (the player then stays at
//  home), and a straight right of the player run out frame by frame.
//------------------------------------------------------------------------------
#include <functional>
#include <string>

class nAI;
class nPlayer;

namespace DataMatch
{

/// the player's prototype the data provides
extern const char* const PlayerProto;
/// the opponents "_ai0" up to this count less one
const int NumOpponents = 5;
/// "/usr/lib/objects/_ai<i>"
std::string OpponentProto(int i);
/// the input server's mouse at the middle of the window (the player's home)
void CentreMouse();
/// the input server's mouse at the point of the window (0..1 from the top left)
void MoveMouse(float x, float y);
/// the player's straight right at the opponent, frames of 1/60 s until the
/// punch could start and then until the fist rests again or 'stop' holds
/// after a frame; false when it never started
bool StraightRight(nPlayer* player, nAI* ai, const std::function<bool()>& stop = nullptr);

}  // namespace DataMatch
#endif
