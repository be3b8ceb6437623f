#!/usr/bin/env python3
"""Writes the sample player's games: examples/ann-games.pgn, on the server, and
examples/ann-lichess.pgn, her archive of lichess.

Deterministic (seeded). The server's file: about 2,000 games against about 150 opponents, with
the tags the import reads. Both players' ratings move game by game with the server's rule
(K = 32, the change rounded half up), and the tags carry each player's rating after the game, as
the server's PGN does. The six ratings at the end are printed: they are what the rating datagram
87 of the demo session sends.

The lichess archive: her games there from May 2023, when she still played on the server, to
November 2026, about 1,400, newest first, in lichess's export: the rating before the game and
its change, the time class in the Event, the opening's ECO and name, the Termination, titled
opponents, a few of her server's opponents among them. She keeps a
repertoire: a few openings often, others now and then. Each move text stops after its opening:
the statistics read the tags, and the archive stays small.
"""
import math
import random
import sys
from datetime import datetime, timedelta

USER = "ann"
USER_STRENGTH = 1640
GAMES = 2000
SEED = 20261206

# (category, rating index, time controls "initial+increment" in seconds, weight)
# Rating indexes: 0 blitz, 1 5-minute, 2 bullet, 3 1-minute, 4 standard, 5 15-minute.
CATEGORIES = [
    ("blitz", 0, ["180+0", "120+12", "300+0", "180+2"], 40),
    ("5-minute", 1, ["300+0"], 18),
    ("bullet", 2, ["60+0", "120+1"], 14),
    ("1-minute", 3, ["60+0"], 8),
    ("standard", 4, ["900+0", "1800+0", "900+5"], 10),
    ("15-minute", 5, ["900+0"], 6),
]
FIRST_NAMES = ["Alder", "Birch", "Cedar", "Dune", "Ember", "Fjord", "Gale", "Heath", "Isle", "Juniper",
               "Kestrel", "Lark", "Moss", "Nettle", "Onyx", "Pike", "Quill", "Rowan", "Sorrel", "Thorn",
               "Umber", "Vale", "Wren", "Yarrow", "Zephyr"]
SUFFIXES = ["", "x", "42", "_fm", "Knight", "Pawn"]
MOVES = ("e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7 Re1 b5 Bb3 d6 c3 O-O h3 Nb8 d4 Nbd7 Nbd2 Bb7 "
         "Bc2 Re8 Nf1 Bf8 Ng3 g6").split()


def expected_score(rating, opponent):
    return 1.0 / (1.0 + math.pow(10.0, (opponent - rating) * 0.0025))


def elo_update(rating, opponent, score):
    return rating + math.floor((score - expected_score(rating, opponent)) * 32.0 + 0.5)


def numbered(moves):
    """The moves' words with their move numbers: ["1.", "e4", "e5", "2.", ...]."""
    words = []
    for i, move in enumerate(moves):
        if i % 2 == 0:
            words.append(f"{i // 2 + 1}.")
        words.append(move)
    return words


def move_text(rng, result):
    count = rng.randint(12, len(MOVES))
    words = numbered(MOVES[:count])
    words.append(result)
    lines, line = [], ""
    for word in words:
        if len(line) + len(word) + 1 > 79:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    lines.append(line)
    return "\n".join(lines)


def server_opponents(rng):
    """The server's 150 opponents, the 60 she meets most first."""
    opponents = []
    for first in FIRST_NAMES:
        for suffix in SUFFIXES:
            opponents.append(first + suffix)
    return rng.sample(opponents, 150)


def main(path):
    rng = random.Random(SEED)
    opponents = server_opponents(rng)
    strength = {name: rng.randint(1250, 2050) for name in opponents}
    ratings = {index: [1500, 1520, 1480, 1450, 1600, 1580][index] for index in range(6)}
    opponent_ratings = {(name, index): strength[name] + rng.randint(-80, 80)
                        for name in opponents for index in range(6)}
    start = datetime(2023, 1, 3, 18, 0, 0)
    when = start
    weights = [category[3] for category in CATEGORIES]
    out = []
    for number in range(GAMES):
        when += timedelta(minutes=rng.randint(4, 45))
        if when.hour >= 23 or when.hour < 8:
            when = when.replace(hour=18, minute=rng.randint(0, 59)) + timedelta(days=rng.randint(0, 2))
        name, index, controls, _ = rng.choices(CATEGORIES, weights)[0]
        opponent = rng.choice(opponents[:60]) if rng.random() < 0.6 else rng.choice(opponents)
        control = rng.choice(controls)
        user_white = rng.random() < 0.5
        variant = None
        rated = rng.random() > 0.08
        event = f"rated {name} match" if rated else f"unrated {name} match u"
        if index == 0 and rng.random() < 0.06:
            variant = rng.choice([17, 22, 23, 1])  # loser's, wild, crazyhouse
            event = f"rated wild match w{variant}"
        if rng.random() < 0.04:
            minutes, increment = int(control.split("+")[0]) // 60, control.split("+")[1]
            wild = "w23 " if variant == 23 else ""
            event = f"Kesh tourney {rng.randint(10, 99)} ({wild}{minutes} {increment} r)"
        user = ratings[index]
        other = opponent_ratings[(opponent, index)]
        # Results follow the players' strengths; the ratings follow the results.
        expected = expected_score(USER_STRENGTH, strength[opponent])
        roll = rng.random()
        score = 1.0 if roll < expected - 0.05 else (0.5 if roll < expected + 0.05 else 0.0)
        pool_or_ordinary_rated = rated and variant is None
        if pool_or_ordinary_rated:
            ratings[index] = elo_update(user, other, score)
            opponent_ratings[(opponent, index)] = elo_update(other, user, 1.0 - score)
        user_after, other_after = ratings[index], opponent_ratings[(opponent, index)]
        white, black = (USER, opponent) if user_white else (opponent, USER)
        white_elo, black_elo = (user_after, other_after) if user_white else (other_after, user_after)
        user_won, user_lost = score == 1.0, score == 0.0
        if user_won:
            result = "1-0" if user_white else "0-1"
        elif user_lost:
            result = "0-1" if user_white else "1-0"
        else:
            result = "1/2-1/2"
        tags = [("Event", event), ("Site", "Kesh"), ("Date", when.strftime("%Y.%m.%d")),
                ("Round", "-"), ("White", white), ("Black", black)]
        kesh_result = None
        if result != "1/2-1/2" and rng.random() < 0.05:
            loser = "Black" if result == "1-0" else "White"
            kesh_result = f"{loser} forfeits on time"
            result_tag = "*"
        elif result == "1/2-1/2" and rng.random() < 0.05:
            loser = rng.choice(["White", "Black"])
            winner = "Black" if loser == "White" else "White"
            kesh_result = f"{loser} ran out of time and {winner} has no material to mate"
            result_tag = "*"
        else:
            result_tag = result
        tags += [("Result", result_tag), ("WhiteElo", str(white_elo)), ("BlackElo", str(black_elo)),
                 ("TimeControl", control), ("Time", when.strftime("%H:%M:%S"))]
        if kesh_result:
            tags.append(("KeshResult", kesh_result))
        out.append("\n".join(f'[{tag} "{value}"]' for tag, value in tags))
        out.append("")
        out.append(move_text(rng, result_tag))
        out.append("")
    with open(path, "w", newline="\n") as pgn:
        pgn.write("\n".join(out) + "\n")
    order = [0, 1, 2, 3, 4, 5]
    print("ratings now: blitz %d, 5-minute %d, bullet %d, 1-minute %d, standard %d, 15-minute %d"
          % tuple(ratings[i] for i in order))


LICHESS_SEED = 20261208
LICHESS_FIRST_DAY = datetime(2023, 5, 1)
LICHESS_DAYS = 1309
# Her strength on lichess's scale, which runs above the server's: it climbs over the years there,
# with a slump in the middle (the games' dates as a share of those years, the strength then).
LICHESS_FORM = [(0.0, 1700), (0.35, 1790), (0.5, 1740), (0.65, 1760), (1.0, 1880)]
# A summer without games: the activity shows the gap.
LICHESS_BREAK = (datetime(2025, 7, 14), datetime(2025, 8, 4))

# (time class, her strength in it above her blitz, time controls and their weights, weight of a
# session, games in a session)
LICHESS_CLASSES = [
    ("bullet", -90, [("60+0", 5), ("120+1", 4)], 20, (3, 10)),
    ("blitz", 0, [("180+0", 3), ("180+2", 4), ("300+0", 3), ("300+3", 1)], 40, (2, 8)),
    ("rapid", 70, [("600+0", 5), ("600+5", 3), ("900+10", 2)], 28, (1, 3)),
    ("classical", 110, [("1800+0", 1), ("1800+20", 1)], 8, (1, 1)),
    ("correspondence", 90, [("-", 1)], 4, (1, 1)),
]
# Her repertoire, (weight, ECO, opening, moves) as lichess names them: with white 1.e4 and the
# Italian, the Alapin against the Sicilian, the Advance against the French and the Caro-Kann;
# with black the Najdorf and the Queen's Gambit Declined; the rest now and then.
WHITE_OPENINGS = [
    (22, "C50", "Italian Game: Giuoco Piano", "e4 e5 Nf3 Nc6 Bc4 Bc5"),
    (10, "C55", "Italian Game: Two Knights Defense", "e4 e5 Nf3 Nc6 Bc4 Nf6"),
    (4, "C41", "Philidor Defense", "e4 e5 Nf3 d6"),
    (3, "C42", "Russian Game", "e4 e5 Nf3 Nf6"),
    (2, "C25", "Vienna Game", "e4 e5 Nc3"),
    (14, "B22", "Sicilian Defense: Alapin Variation", "e4 c5 c3"),
    (8, "C02", "French Defense: Advance Variation", "e4 e6 d4 d5 e5"),
    (7, "B12", "Caro-Kann Defense: Advance Variation", "e4 c6 d4 d5 e5"),
    (4, "B01", "Scandinavian Defense: Main Line", "e4 d5 exd5 Qxd5 Nc3 Qa5"),
    (2, "B01", "Scandinavian Defense: Modern Variation", "e4 d5 exd5 Nf6"),
    (3, "B07", "Pirc Defense", "e4 d6 d4 Nf6 Nc3 g6"),
    (2, "B06", "Modern Defense", "e4 g6"),
    (2, "B02", "Alekhine Defense", "e4 Nf6"),
    (2, "D02", "Queen's Pawn Game: London System", "d4 d5 Nf3 Nf6 Bf4"),
]
BLACK_OPENINGS = [
    (14, "B90", "Sicilian Defense: Najdorf Variation", "e4 c5 Nf3 d6 d4 cxd4 Nxd4 Nf6 Nc3 a6"),
    (5, "B90", "Sicilian Defense: Najdorf Variation, English Attack",
     "e4 c5 Nf3 d6 d4 cxd4 Nxd4 Nf6 Nc3 a6 Be3 e5 Nb3 Be6 f3"),
    (6, "B22", "Sicilian Defense: Alapin Variation", "e4 c5 c3"),
    (4, "B23", "Sicilian Defense: Closed", "e4 c5 Nc3"),
    (3, "B51", "Sicilian Defense: Moscow Variation", "e4 c5 Nf3 d6 Bb5+"),
    (3, "B21", "Sicilian Defense: Smith-Morra Gambit", "e4 c5 d4 cxd4 c3"),
    (2, "B20", "Sicilian Defense: Bowdler Attack", "e4 c5 Bc4"),
    (8, "D30", "Queen's Gambit Declined", "d4 d5 c4 e6"),
    (4, "D35", "Queen's Gambit Declined: Exchange Variation", "d4 d5 c4 e6 Nc3 Nf6 cxd5 exd5"),
    (5, "D00", "Queen's Pawn Game: Accelerated London System", "d4 d5 Bf4"),
    (2, "D00", "Queen's Pawn Game", "d4 d5"),
    (3, "A20", "English Opening: King's English Variation", "c4 e5"),
    (2, "A06", "Zukertort Opening", "Nf3 d5"),
    (1, "A03", "Bird Opening: Dutch Variation", "f4 d5"),
]
# Opponents met again and again: a club, and a few of her server's opponents (Nettle the most).
LICHESS_FRIENDS = ["quietrook", "Fen_Walker", "Marsh_Hare", "tallpine", "Brackenfold",
                   "owl_at_noon", "SilentFile", "minnow77", "Gorse_Lane", "Kettleburn"]
# Titled players met now and then in an arena, and bots, casual only: (name, title, blitz
# rating).
LICHESS_TITLED = [("Vantor_GM", "GM", 2690), ("ridgeline", "GM", 2610), ("Oskarsen", "IM", 2480),
                  ("Lumenfall", "IM", 2430), ("tidewrack", "FM", 2350), ("Carrow_FM", "FM", 2290),
                  ("SpindleTree", "FM", 2260), ("halberd", "CM", 2180), ("Mirela_B", "WFM", 2150),
                  ("NorthBight", "NM", 2220)]
LICHESS_BOTS = [("Stonechat-BOT", "BOT", 1900), ("ironwillow_bot", "BOT", 1750)]
NAME_PARTS = (["quiet", "swift", "amber", "grey", "little", "old", "north", "red", "wild", "late",
               "salt", "iron", "pale", "dark", "sunny", "lazy", "brave", "misty", "copper", "frost"],
              ["rook", "pawn", "bishop", "fox", "heron", "otter", "badger", "comet", "anchor",
               "harbor", "meadow", "lantern", "falcon", "thistle", "marble", "pebble", "spruce",
               "willow", "kettle", "sparrow"])
ID_LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"


def lichess_strength(when):
    share = (when - LICHESS_FIRST_DAY).total_seconds() / (LICHESS_DAYS * 86400.0)
    for (a, low), (b, high) in zip(LICHESS_FORM, LICHESS_FORM[1:]):
        if share <= b:
            return low + (high - low) * (share - a) / (b - a)
    return LICHESS_FORM[-1][1]


def lichess_name(rng, taken):
    while True:
        first, second = rng.choice(NAME_PARTS[0]), rng.choice(NAME_PARTS[1])
        name = rng.choice([f"{first}{second}", f"{first.title()}_{second.title()}",
                           f"{first}{second}{rng.randint(1, 99)}",
                           f"{second.title()}{rng.randint(1970, 2012)}"])
        if name.lower() not in taken:
            taken.add(name.lower())
            return name


def lichess_opponent(rng, rated, arena, friends, strangers):
    """Who the lobby or the arena pairs her with next."""
    if not rated and rng.random() < 0.08:
        return rng.choice(LICHESS_BOTS)[0]
    if not rated and rng.random() < 0.02:
        return "Anonymous"
    if arena and rng.random() < 0.2:
        return rng.choice(LICHESS_TITLED)[0]
    if rng.random() < 0.14:
        return rng.choices(friends, [2 if name == "Nettle" else 1 for name in friends])[0]
    return rng.choice(strangers)


def lichess_termination(rng, time_class, score):
    flagged = {"bullet": 0.3, "blitz": 0.14, "rapid": 0.06}.get(time_class, 0.02)
    if score != 0.5 and rng.random() < flagged:
        return "Time forfeit"
    if score != 0.5 and rng.random() < 0.004:
        return "Abandoned"
    if score == 1.0 and rng.random() < 0.003:
        return "Rules infraction"  # the opponent was caught
    return "Normal"


def lichess_game(tags, moves, result):
    """A game as lichess's export writes it: its tags, then the moves on one line."""
    text = "\n".join(f'[{tag} "{value}"]' for tag, value in tags if value is not None)
    return f"{text}\n\n{' '.join(numbered(moves.split()) + [result])}\n"


def lichess_tags(game_id, event, when, result, white, black, control, opening, termination):
    """white and black: (name, rating before the game, its change or None, title or None)."""
    tags = [("Event", event), ("Site", f"https://lichess.org/{game_id}"),
            ("Date", when.strftime("%Y.%m.%d")), ("White", white[0]), ("Black", black[0]),
            ("Result", result), ("UTCDate", when.strftime("%Y.%m.%d")),
            ("UTCTime", when.strftime("%H:%M:%S")), ("WhiteElo", white[1]),
            ("BlackElo", black[1])]
    tags += [(f"{side}RatingDiff", None if player[2] is None else f"{player[2]:+d}")
             for side, player in (("White", white), ("Black", black))]
    tags += [("WhiteTitle", white[3]), ("BlackTitle", black[3]), ("Variant", "Standard"),
             ("TimeControl", control), ("ECO", opening[0]), ("Opening", opening[1]),
             ("Termination", termination)]
    return tags


def write_lichess(path):
    rng = random.Random(LICHESS_SEED)
    friends = LICHESS_FRIENDS + ["Nettle"]
    friends += rng.sample(server_opponents(random.Random(SEED))[1:60], 3)
    taken = {name.lower() for name in friends + [USER]}
    taken |= {name.lower() for name, _, _ in LICHESS_TITLED + LICHESS_BOTS}
    strangers = [lichess_name(rng, taken) for _ in range(700)]
    strength = {name: rng.randint(1650, 1950) for name in friends}
    strength.update({name: rating for name, _, rating in LICHESS_TITLED + LICHESS_BOTS})
    titles = {name: title for name, title, _ in LICHESS_TITLED + LICHESS_BOTS}
    ratings = {}  # (player, time class): (rating, rated games in it)
    ids = set()
    games = []
    day = LICHESS_FIRST_DAY - timedelta(days=1)
    for _ in range(LICHESS_DAYS):
        day += timedelta(days=1)
        weekend = day.weekday() >= 5
        if LICHESS_BREAK[0] <= day < LICHESS_BREAK[1] or rng.random() > (0.4 if weekend else 0.2):
            continue
        when = day + timedelta(hours=rng.randint(13, 19) if weekend else rng.randint(17, 21),
                               minutes=rng.randint(0, 59), seconds=rng.randint(0, 59))
        time_class, offset, controls, _, (fewest, most) = rng.choices(
            LICHESS_CLASSES, [entry[3] for entry in LICHESS_CLASSES])[0]
        arena = time_class in ("bullet", "blitz", "rapid") and rng.random() < 0.06
        opponent, user_white = None, False
        for _ in range(rng.randint(fewest, most + (4 if arena else 0))):
            control = rng.choices([c for c, _ in controls], [w for _, w in controls])[0]
            rated = arena or rng.random() > 0.09
            if opponent is not None and not arena and rng.random() < 0.25:
                user_white = not user_white  # a rematch: the colours change
            else:
                opponent = lichess_opponent(rng, rated, arena, friends, strangers)
                user_white = rng.random() < 0.5
            own, played = ratings.get((USER, time_class), (1500, 0))
            # Strangers are paired near her rating; the others play as strong as they are.
            if opponent in strength:
                other_strength = strength[opponent] + offset
            else:
                other_strength = own + rng.gauss(0, 110)
            other, other_played = ratings.get((opponent, time_class), (round(other_strength), 30))
            expected = expected_score(lichess_strength(when) + offset, other_strength)
            draw = {"bullet": 0.03, "blitz": 0.06, "rapid": 0.08}.get(time_class, 0.12)
            roll = rng.random()
            score = 1.0 if roll < expected - draw / 2 else 0.5 if roll < expected + draw / 2 else 0.0
            changes = (None, None)
            if rated and opponent != "Anonymous":
                # lichess's changes shrink as a rating settles: large in her first games of a class.
                rated_expected = expected_score(own, other)
                changes = (round((11 + 150 / (3 + played)) * (score - rated_expected)),
                           round((11 + 150 / (3 + other_played)) * (rated_expected - score)))
                ratings[(USER, time_class)] = (own + changes[0], played + 1)
                ratings[(opponent, time_class)] = (other + changes[1], other_played + 1)
            game_id = "".join(rng.choice(ID_LETTERS) for _ in range(8))
            while game_id in ids:
                game_id = "".join(rng.choice(ID_LETTERS) for _ in range(8))
            ids.add(game_id)
            repertoire = WHITE_OPENINGS if user_white else BLACK_OPENINGS
            _, eco, name, moves = rng.choices(repertoire, [entry[0] for entry in repertoire])[0]
            won = {1.0: "1-0", 0.5: "1/2-1/2", 0.0: "0-1"}
            result = won[score] if user_white else won[1.0 - score]
            event = f"{'Rated' if rated else 'Casual'} {time_class.title()} game"
            if arena:
                event = f"Hourly {time_class.title()} Arena"
            players = [(USER, own, changes[0], None),
                       (opponent, "?" if opponent == "Anonymous" else other, changes[1],
                        titles.get(opponent))]
            white, black = players if user_white else players[::-1]
            tags = lichess_tags(game_id, event, when, result, white, black, control, (eco, name),
                                lichess_termination(rng, time_class, score))
            games.append(lichess_game(tags, moves, result))
            base, _, increment = control.partition("+")
            length = 2 * int(base) + 80 * int(increment or 0) if base != "-" else 600
            when += timedelta(seconds=round(length * rng.uniform(0.45, 0.95)) + rng.randint(10, 90))
    with open(path, "w", newline="\n") as pgn:
        pgn.write("\n".join(reversed(games)))  # newest first, as lichess sends them
    print("lichess: %d games; ratings now: %s" % (len(games), ", ".join(
        "%s %d" % (name, ratings[(USER, name)][0]) for name, *_ in LICHESS_CLASSES)))

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "examples/ann-games.pgn")
    write_lichess(sys.argv[2] if len(sys.argv) > 2 else "examples/ann-lichess.pgn")
