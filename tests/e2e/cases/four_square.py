"""The four-square demonstration: heading, decompositions and totals for the
worked examples, invalid entries, 888, and input that ends at a prompt.
Decompositions are searched here over i >= j >= k; the total is the number of
quadruples (L+1)(L+2)(L+3)(L+4)/24 in printf's %g."""
from math import isqrt

from pieces import BACK_AND_EXIT, Case, NOTICE, START

HEADING = (
    "\n\t----------------Four-square Theorem--------------------\n"
    "\n\tFour-square Theorem: Each positive integer may be expressed "
    "\n\tas the sum of the squares of four integers.\n"
)
ASK = NOTICE + "\n\tPlease input a positive integer:"
INVALID = "Invalid. Please input a positive integer:"
ENTER = START + HEADING


def turn(n):
    text = ""
    for i in range(isqrt(n) + 1):
        for j in range(i + 1):
            for k in range(j + 1):
                rest = n - i * i - j * j - k * k
                if rest < 0:
                    break
                m = isqrt(rest)
                if m * m == rest and m <= k:
                    text += "\t\t%d=%dx%d+%dx%d+%dx%d+%dx%d\n" % (n, i, i, j, j, k, k, m, m)
    bound = (n + 1) // 2
    total = (bound + 1) * (bound + 2) * (bound + 3) * (bound + 4) // 24
    return text + "\n\tThe total loop is %g.\n" % total


def turns(*numbers):
    return "".join(ASK + turn(n) for n in numbers)


CASES = [
    Case("worked_examples_and_888_ending_the_visit", "4\n1\n2\n3\n4\n9\n12\n133\n135\n888\n\n8\n",
         ENTER + turns(1, 2, 3, 4, 9, 12, 133, 135, 888) + BACK_AND_EXIT),
    Case("each_invalid_entry_gets_the_message_and_12abc_is_12",
         "4\nabc\n0\n-3\n2147483648\n12abc\n888\n\n8\n",
         ENTER + ASK + INVALID * 4 + turn(12) + turns(888) + BACK_AND_EXIT),
    Case("a_total_past_a_million_and_one_past_a_thousand", "4\n1001\n2000\n888\n\n8\n",
         ENTER + turns(1001, 2000, 888) + BACK_AND_EXIT),
    Case("input_ending_at_the_prompt", "4\n", ENTER + ASK + "\n"),
    Case("input_ending_after_an_invalid_entry", "4\n0\n", ENTER + ASK + INVALID + "\n"),
    Case("input_ending_after_a_turn", "4\n9\n", ENTER + turns(9) + ASK + "\n"),
]
