// The online messages: every kind reads back as written; the decoder refuses what it must not take
// (tests/data/protocol_refusals.jsonl) with a reason, never an exception.
#include <gtest/gtest.h>

#include "DataRows.h"
#include "model/PowerBarScale.h"
#include "protocol/Messages.h"
#include "records/GameText.h"

namespace capzel::protocol {
namespace {

TEST(ProtocolMessages, EveryKindReadsBackAsWritten) {
    const RecordedShot inputs{{3, 1580.25f, -0.0f, 1.0e-7f, 9390, 4321, HandPlacement{10245, 45.5f}, {}},
                              {0x0123456789abcdefull, {{AnnouncementKind::Win, 3, "Ann wins!\r\nWell played."}}}};
    Game game;
    game.numberOfPlayers = 2;
    game.seats[1].name = "Ann";
    game.currentTurn = 1;
    const std::vector<SeatStatus> seats = {{1, "Ann", SeatPresence::Connected, PlayerKind::Human, true},
                                           {2, "", SeatPresence::Open, PlayerKind::Human},
                                           {3, "Player 3", SeatPresence::Computer, PlayerKind::Strong}};
    const Message messages[] = {
        Hello{kProtocolVersion, "1.0.0", "Ann Ödegård"},
        CreateRoom{{PlayerKind::Human, PlayerKind::Expert, PlayerKind::Novice}, false, {}, {}},
        CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {"Ann", ""}, {2, 1}},
        JoinRoom{"ABC234", std::nullopt, {}, {}, false},
        JoinRoom{"ABC234", std::nullopt, {3, 4}, {"Cy", "Di"}, false},
        JoinRoom{"ABC234", std::nullopt, {}, {}, true},
        JoinRoom{"ZZ9922", std::string("0123456789abcdef0123456789abcdef"), {}, {}, false},
        Shot{7, RecordedShot{{1, inputs.x1, inputs.y1, inputs.x2, inputs.y2, inputs.strength, std::nullopt, {}}, {}}},
        Chat{"Nice shot ☺", 2},
        StateRequest{},
        Welcome{kProtocolVersion, "1.0.0"},
        Refused{RefusalCode::NotYourTurn, "It is not your turn."},
        Joined{"ABC234", {2, 3}, "0123456789abcdef0123456789abcdef", true, seats},
        Joined{"ABC234", {}, "", false, seats},
        Aim{2, 1580.25f, -0.0f, 1.0e-7f, 9390, std::int16_t(barLevel(maxBarTicks())), true},  // the top of a full bar
        HandToComputer{3},
        Seats{seats},
        Accepted{Shot{12, inputs}},
        State{4, writeGameText(game)},
    };
    // A refusal's code travels as its number: every code ever given keeps its place, new ones come at the end.
    using enum RefusalCode;
    const RefusalCode shipped[] = {Other, GameNotBegun, GameOver, ShotUnderWay, NotYourTurn, StaleShotNumber,
                                   AimOutOfReach, StrengthOutOfRange, PlacementNotAllowed, PlacementOutsideBox,
                                   BadCommand, CommandNotAllowed, BadMessage, TokenHoldsNoSeat, NoFreeSeat,
                                   SeatNotFree, NoSuchRoom, BadRoomSetup, NotHost, SeatStillHere, NotInRoom,
                                   TooMany, NotAPlayer, RoomClosed, RoomNotKept};
    for (std::size_t k = 0; k < std::size(shipped); ++k) {
        EXPECT_EQ(int(shipped[k]), int(k));
        const auto back = decodeMessage(encodeMessage(Refused{shipped[k], "Because."}));
        ASSERT_TRUE(std::holds_alternative<Refused>(back)) << k;
        EXPECT_EQ(std::get<Refused>(back).code, shipped[k]);
    }
    for (const Message& m : messages) {
        const std::string text = encodeMessage(m);
        const Decoded back = decodeMessage(text);
        ASSERT_EQ(back.index(), m.index()) << text << " -> " << std::get<Refusal>(back).reason;
        std::visit([&](const auto& sent) {
            using Kind = std::decay_t<decltype(sent)>;
            EXPECT_TRUE(std::get<Kind>(back) == sent) << text;
        }, m);
    }
}

TEST(ProtocolMessages, RefusesWhatItMustNotTake) {
    for (const nlohmann::json& row : test::dataRows("protocol_refusals.jsonl")) {
        const std::string text = row.contains("text") ? row["text"].get<std::string>() : row["message"].dump();
        const Decoded d = decodeMessage(text);
        ASSERT_TRUE(std::holds_alternative<Refusal>(d)) << text;
        const std::string& reason = std::get<Refusal>(d).reason;
        std::string says = row["refusal"];
        // Written when an aim carried the shot's strength: it carries the bar's level now.
        if (text.find("\"aim\"") != std::string::npos && says == "/power: is 99999, outside 0 to")
            says = "/power: is 99999, outside " + std::to_string(barLevel(maxBarTicks()));
        EXPECT_NE(reason.find(says), std::string::npos) << text << "\n  " << reason;
    }
}

TEST(ProtocolMessages, RefusesAMessageOverItsSizeWhateverItHolds) {
    const std::string chat = encodeMessage(Chat{std::string(kMaxChatChars, 'a'), 0});
    EXPECT_TRUE(std::holds_alternative<Chat>(decodeMessage(chat)));
    EXPECT_EQ(std::get<Refusal>(decodeMessage(encodeMessage(Chat{std::string(kMaxChatChars + 1, 'a'), 0}))).reason,
              "The chat message is wrong: /text: has more than 300 characters.");
    std::string padded = chat;
    padded.append(kMaxMessageBytes - padded.size(), ' ');
    EXPECT_TRUE(std::holds_alternative<Chat>(decodeMessage(padded)));
    padded.push_back(' ');
    EXPECT_EQ(std::get<Refusal>(decodeMessage(padded)).reason, "The message is 16385 bytes, more than 16384.");
    // Bytes that are not UTF-8 are no text.
    EXPECT_TRUE(std::holds_alternative<Refusal>(decodeMessage("{\"type\":\"chat\",\"protocol\":1,\"text\":\"\xff\",\"seat\":0}")));
    EXPECT_TRUE(isPlainText("Ödegård ☺", 9));
    EXPECT_FALSE(isPlainText("Ödegård ☺", 8));
}

}  // namespace
}  // namespace capzel::protocol
