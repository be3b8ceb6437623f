#!/usr/bin/env python3
"""Writes examples/ann-games.pgn: three years of a fictional player's games on the server.

Deterministic (seeded). About 2,000 games against about 150 opponents, with the tags the
import reads. Both players' ratings move game by game with the server's rule (K = 32, the change
rounded half up), and the tags carry each player's rating after the game, as the server's PGN
does. The six ratings at the end are printed: they are what the rating datagram 87 of the demo
session sends.
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


def elo_update(rating, opponent, score):
    expected = 1.0 / (1.0 + math.pow(10.0, (opponent - rating) * 0.0025))
    return rating + math.floor((score - expected) * 32.0 + 0.5)


def move_text(rng, result):
    count = rng.randint(12, len(MOVES))
    words = []
    for i, move in enumerate(MOVES[:count]):
        if i % 2 == 0:
            words.append(f"{i // 2 + 1}.")
        words.append(move)
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


def main(path):
    rng = random.Random(SEED)
    opponents = []
    for first in FIRST_NAMES:
        for suffix in SUFFIXES:
            opponents.append(first + suffix)
    opponents = rng.sample(opponents, 150)
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
        expected = 1.0 / (1.0 + math.pow(10.0, (strength[opponent] - USER_STRENGTH) * 0.0025))
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


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "examples/ann-games.pgn")
