#include "toolkit/files/ListingAhead.h"

#include "toolkit/base/Handles.h"
#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/Paths.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Choice = tk::ListingAhead::Choice;
using Names = std::vector<std::string>;

class ListingAheadTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"pacman.zip", "Galaga.zip", "dkong.zip"})
            testing_support::writeFile(tk::joinPath(roms, name), "x");
        testing_support::writeFile(tk::joinPath(other, "zaxxon.zip"), "x");
    }
    // A listing that decides `choice`.
    static tk::ListingAhead::Decide deciding(std::optional<Choice> choice) {
        return [choice] { return choice; };
    }

    testing_support::TempFolder temp{"keston-ahead"};
    std::string roms = temp.folder("roms");
    std::string other = temp.folder("other");
};

TEST_F(ListingAheadTest, TheSameDecisionTakesTheListingOnce) {
    Choice choice{{roms, other}, "*.*"};
    tk::ListingAhead listing(deciding(choice));
    EXPECT_EQ(listing.take(choice), (Names{"dkong.zip", "Galaga.zip", "pacman.zip", "zaxxon.zip"}));
    EXPECT_EQ(listing.take(choice), std::nullopt);
}

TEST_F(ListingAheadTest, ADecisionThatDiffersThrowsTheListingAway) {
    const Choice decided{{roms}, "*.*"};
    for (const Choice& differing :
         {Choice{{other}, "*.*"}, Choice{{roms}, "*.zip"}, Choice{{roms, other}, "*.*"}}) {
        tk::ListingAhead listing(deciding(decided));
        EXPECT_EQ(listing.take(differing), std::nullopt);
        // Thrown away: not even the thread's own decision takes it after.
        EXPECT_EQ(listing.take(decided), std::nullopt);
    }
}

TEST_F(ListingAheadTest, AThreadThatCouldNotDecideHandsOverNothing) {
    const Choice choice{{roms}, "*.*"};
    tk::ListingAhead undecided(deciding(std::nullopt));
    EXPECT_EQ(undecided.take(choice), std::nullopt);
    tk::ListingAhead failed([]() -> std::optional<Choice> { throw std::runtime_error("unread"); });
    EXPECT_EQ(failed.take(choice), std::nullopt);
}

// The listing is of the folder as it was when the thread listed it; the
// thread is done by the time it is taken, so the caller gets it whole.
TEST_F(ListingAheadTest, TheListingIsWholeWhenTaken) {
    for (int i = 0; i < 300; ++i)
        testing_support::writeFile(tk::joinPath(other, "game" + std::to_string(i) + ".zip"), "x");
    const Choice choice{{other}, "*.*"};
    tk::ListingAhead listing(deciding(choice));
    std::optional<Names> taken = listing.take(choice);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, tk::listFiles({other}, "*.*"));
    EXPECT_EQ(taken->size(), 301u);
}

} // namespace

// The end of its owner waits for no slow folder: a listing is stopped between
// two batches, and work that cannot stop is waited for a moment at most.
TEST_F(ListingAheadTest, ItsEndWaitsAMomentAtMostAndAStoppedListingHasNoFiles) {
    tk::KernelHandle set(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    EXPECT_EQ(tk::listFiles({roms, other}, "*.*", set.get()), Names{});
    EXPECT_EQ(tk::listFiles({roms}, "*.zip", set.get()), Names{});

    ULONGLONG start = GetTickCount64();
    {
        tk::ListingAhead slow([] {
            Sleep(5000);
            return std::optional<Choice>();
        });
    }
    EXPECT_LT(GetTickCount64() - start, 2000u);
}
