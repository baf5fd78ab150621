// One desk at a time in a data folder: real processes standing for two computers take the
// same folder; the second is told who holds it, and has it as soon as the first lets go or is
// killed. Where the disk has no locks, the note alone decides.
#include "datafolder/desk_hold.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "other_desk.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(DeskHold, ASecondDeskIsToldWhoHoldsTheFolderAndHasItOnceTheFirstHasGone) {
    TempFolder shared;
    WriteBytes(shared / "Groups.dat", Slot("My First Group"));  // a folder with data in it
    DeskHolder me = Desk("back-office", static_cast<long>(::getpid()));
    {
        OtherDesk front(shared.path());
        ASSERT_TRUE(front.Held());
        DeskHold hold;
        DeskHold::Attempt attempt = hold.Take(shared.path(), me);
        EXPECT_EQ(attempt.outcome, DeskHold::Outcome::HeldElsewhere);
        ASSERT_TRUE(attempt.holder.has_value());
        EXPECT_EQ(attempt.holder->computer, "front-desk");
        EXPECT_EQ(attempt.holder->process, static_cast<long>(front.Pid()));
        std::string told = HeldElsewhereMessage(shared.path(), attempt.holder);
        EXPECT_NE(told.find("anne on the computer front-desk since "), std::string::npos);
        EXPECT_NE(told.find(" at "), std::string::npos) << told;  // the day and the time
        EXPECT_FALSE(hold.Holds());
        front.Close();
        EXPECT_EQ(hold.Take(shared.path(), me).outcome, DeskHold::Outcome::Held);
        // Held here, the other desk is refused in its turn.
        OtherDesk late(shared.path());
        EXPECT_FALSE(late.Held());
    }
    // Let go, the folder holds no note of anyone.
    EXPECT_FALSE(Exists(shared / kDeskHoldFileName));
}

TEST(DeskHold, ADeskKilledOrCutOffFreesTheFolderAtOnce) {
    TempFolder shared;
    OtherDesk front(shared.path());
    ASSERT_TRUE(front.Held());
    front.Kill();
    // Its note is still there; the lock went with the program.
    ASSERT_TRUE(Exists(shared / kDeskHoldFileName));
    DeskHold hold;
    EXPECT_EQ(hold.Take(shared.path(), Desk("back-office", ::getpid())).outcome,
              DeskHold::Outcome::Held);
}

TEST(DeskHold, ANoteDecidesOnlyWhereTheDiskHasNoLocks) {
    DeskHolder note = Desk("front-desk", 4242);
    EXPECT_EQ(ParseDeskHolder(EncodeDeskHolder(note)), note);
    EXPECT_EQ(ParseDeskHolder("quantora desk 1\nanne\n"), std::nullopt);
    EXPECT_EQ(ParseDeskHolder("quantora desk 1\nanne\nfront-desk\n042\n1796630400\n"),
              std::nullopt);
    std::time_t now = note.since;
    EXPECT_FALSE(NoteIsStale(note, "back-office", now + 3600, false));  // can't see its process
    EXPECT_TRUE(NoteIsStale(note, "back-office", now + 13 * 3600, true));
    EXPECT_TRUE(NoteIsStale(note, "front-desk", now, false));  // this computer's, and gone
    EXPECT_FALSE(NoteIsStale(note, "front-desk", now, true));
    // A note of a desk that has gone does not stand in the way where locks work.
    TempFolder shared;
    WriteBytes(shared / kDeskHoldFileName, EncodeDeskHolder(note));
    DeskHold hold;
    EXPECT_EQ(hold.Take(shared.path(), Desk("back-office", ::getpid())).outcome,
              DeskHold::Outcome::Held);
}

}  // namespace
}  // namespace quantora
