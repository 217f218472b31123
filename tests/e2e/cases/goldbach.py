"""The Goldbach demonstration: heading, turns, invalid entries, 888, and
input that ends at a prompt. Pairs are worked out here by trial division."""
from pieces import BACK_AND_EXIT, Case, MENU, NOTICE, PAUSE, PROMPT as MENU_PROMPT, START

HEADING = (
    "\n\t----------------Goldbach's Conjecture-----------------------\n"
    "\n\tFor any even number N greater than or equal to 4, there exists \n"
    "\n\tat least one pair of prime numbers p1 and p2 such that N = p1 + p2.\n"
)
ASK = NOTICE + "\n\tPlease input a positive even integer:"
INVALID = "Invalid. Please input a positive even integer:"
ENTER = START + HEADING


def prime(k):
    if k < 2:
        return False
    d = 2
    while d * d <= k:
        if k % d == 0:
            return False
        d += 1
    return True


def pairs(n):
    return [(i, n - i) for i in range(2, n // 2 + 1) if prime(i) and prime(n - i)]


def turn(n):
    found = pairs(n)
    return ("".join("\t%d=%d+%d\n" % (n, p, q) for p, q in found)
            + "\n\n\tThere are %d pair(s) of Prime Numbers that add up to %d\n" % (len(found), n))


def turns(*numbers):
    return "".join(ASK + turn(n) for n in numbers)


# The worked examples as stated: 888 has 37 pairs from 5+883 to 439+449.
assert pairs(888)[0] == (5, 883) and pairs(888)[-1] == (439, 449) and len(pairs(888)) == 37
assert pairs(100)[0] == (3, 97) and pairs(100)[-1] == (47, 53) and len(pairs(100)) == 6

CASES = [
    Case("worked_examples_and_888_ending_the_visit", "1\n2\n4\n6\n10\n12\n100\n888\n\n8\n",
         ENTER + turns(2, 4, 6, 10, 12, 100, 888) + BACK_AND_EXIT),
    Case("each_invalid_entry_gets_the_message_at_the_left_margin",
         "1\nabc\n7\n0\n-5\n2147483648\n2147483647\n-2147483648\n8\n888\n\n8\n",
         ENTER + ASK + INVALID * 7 + turn(8) + turns(888) + BACK_AND_EXIT),
    Case("a_line_of_words_gets_one_message", "1\nabc def 7\n16\n888\n\n8\n",
         ENTER + ASK + INVALID + turn(16) + turns(888) + BACK_AND_EXIT),
    Case("the_rest_of_the_line_after_a_number_is_dropped", "1\n12abc\n  14 16\n888\n\n8\n",
         ENTER + turns(12, 14, 888) + BACK_AND_EXIT),
    Case("empty_lines_keep_the_read_waiting", "1\n\n  \n\t\n10\n888\n\n8\n",
         ENTER + turns(10, 888) + BACK_AND_EXIT),
    Case("a_larger_number_and_the_visit_again", "1\n9998\n888\n\n1\n30\n888\n\n8\n",
         ENTER + turns(9998, 888) + PAUSE + MENU + MENU_PROMPT + HEADING + turns(30, 888)
         + BACK_AND_EXIT),
    Case("input_ending_at_the_prompt", "1\n", ENTER + ASK + "\n"),
    Case("input_ending_after_a_turn", "1\n10\n", ENTER + turns(10) + ASK + "\n"),
    Case("input_ending_after_an_invalid_entry", "1\n7\n", ENTER + ASK + INVALID + "\n"),
    # The input is known to have ended once the number is read: no new turn.
    Case("input_ending_without_a_line_end", "1\n10", ENTER + turns(10)),
]
