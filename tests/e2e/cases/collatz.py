"""The Collatz demonstration: heading, turns, invalid entries, 888, and
input that ends at a prompt. Sequences are worked out here by the 3t+1 rule."""
from pieces import BACK_AND_EXIT, Case, NOTICE, START

HEADING = (
    "\n\t----------------Collatz Conjecture-----------------------\n"
    "\nTake any positive number: if it's even you divide it by 2 and if it's odd multiply it by 3"
    " and add 1. Repeat this process indefinitely, no matter what number you start with, you will"
    " always end up at 1.\n"
    "\nThe conjecture remains stubbornly unproven. Mathematics is not yet ready for such problems.\n"
)
ASK = NOTICE + "\n\tPlease input a positive integer:"
INVALID = "\n\tInvalid. Please input a positive integer:"
ENTER = START + HEADING


def sequence(n):
    terms = [n]
    while n != 1:
        n = n // 2 if n % 2 == 0 else 3 * n + 1
        terms.append(n)
    return terms


def turn(n):
    terms = sequence(n)
    return ("->".join(str(t) for t in terms) + "\n"
            + "\n\n\tThere are %d steps to get to 1 for %d.\n" % (len(terms) - 1, n))


def turns(*numbers):
    return "".join(ASK + turn(n) for n in numbers)


CASES = [
    Case("worked_examples_and_888_ending_the_visit", "2\n1\n2\n3\n6\n27\n888\n\n8\n",
         ENTER + turns(1, 2, 3, 6, 27, 888) + BACK_AND_EXIT),
    Case("each_invalid_entry_gets_the_message_and_12abc_is_12",
         "2\nabc\n0\n-3\n2147483648\n12abc\n888\n\n8\n",
         ENTER + ASK + INVALID * 4 + turn(12) + turns(888) + BACK_AND_EXIT),
    Case("empty_lines_keep_the_read_waiting", "2\n\n  \n7 8\n888\n\n8\n",
         ENTER + turns(7, 888) + BACK_AND_EXIT),
    # Their sequences climb above the int range.
    Case("the_largest_int_and_a_climbing_start_are_exact", "2\n2147483647\n113383\n888\n\n8\n",
         ENTER + turns(2147483647, 113383, 888) + BACK_AND_EXIT),
    Case("input_ending_at_the_prompt", "2\n", ENTER + ASK + "\n"),
    Case("input_ending_after_an_invalid_entry", "2\n-1\n", ENTER + ASK + INVALID + "\n"),
    Case("input_ending_after_a_turn", "2\n5\n", ENTER + turns(5) + ASK + "\n"),
]
