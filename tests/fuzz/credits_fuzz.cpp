// Plays the credits game from any seed with any run of kicks: every draw stays
// in its range, every kick shows one of the three outcomes, and what comes to
// the front agrees with it.
#include "ui/CreditsGame.h"

#include "fuzz/FuzzCheck.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    ui::RandomGenerator random;
    std::memcpy(&random.RandomSeed, data, 4);
    ui::CreditsGame game(random);
    for (std::size_t i = 4; i < size; ++i) {
        int side = data[i] % 3;
        game.kick(side);
        ui::KickVerdict verdict = game.IA();
        FUZZ_CHECK(game.kickside == side);
        FUZZ_CHECK(game.ballframe >= 0 && game.ballframe <= 3);
        FUZZ_CHECK(game.keeperdive >= 0 && game.keeperdive <= 2);
        bool out = std::strcmp(verdict.caption, ui::KickVerdict::kickOut) == 0;
        bool scored = std::strcmp(verdict.caption, ui::KickVerdict::goal) == 0;
        bool saved = std::strcmp(verdict.caption, ui::KickVerdict::caught) == 0;
        FUZZ_CHECK(out + scored + saved == 1);
        FUZZ_CHECK(out == (game.ballframe == 0));
        FUZZ_CHECK(!saved || game.keeperdive == side);
        FUZZ_CHECK(verdict.front == ui::KickVerdict::Front::nothing ||
                   (game.ballframe == 3 && game.keeperdive == side));
        FUZZ_CHECK(verdict.front != ui::KickVerdict::Front::ball || saved);
        FUZZ_CHECK(verdict.front != ui::KickVerdict::Front::keeper || scored);
        int range = data[i] / 3 + 1;
        int drawn = random.NextRandom(range);
        FUZZ_CHECK(drawn >= 0 && drawn < range);
    }
    return 0;
}
