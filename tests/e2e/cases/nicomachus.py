"""The Nicomachus ("Nico Chester") demonstration: heading, runs of odd numbers
for the worked examples, the threshold, 88 and 888, cubes beyond the int
range, and input that ends at a prompt. Runs are found here start by start,
solving m(i+m-1) = n³ for the number of terms m."""
from math import isqrt

from pieces import BACK_AND_EXIT, Case, NOTICE_88, START

HEADING = (
    "\n\t----------------Nico Chester Theorem-----------------------\n"
    "\n\tAny integer to the third power can be represented as the sum of a series of consecutive"
    " odd Numbers.\n"
)
ASK = NOTICE_88 + "\n\tPlease input a positive integer:"
INVALID = "\n\tInvalid. Please input a positive integer:"
MANY = "\n\tThre are many other solutions.\n"
ENTER = START + HEADING


def terms_from(first, cube):
    """The odd numbers from `first` that add up to `cube`, or None."""
    # m² + (first-1)m - cube = 0
    root = isqrt((first - 1) ** 2 + 4 * cube)
    if root * root != (first - 1) ** 2 + 4 * cube or (root - (first - 1)) % 2:
        return None
    m = (root - (first - 1)) // 2
    last = first + 2 * (m - 1)
    if m < 2 or last >= cube:
        return None
    return list(range(first, last + 1, 2))


def turn(n):
    if n > 1290:
        return ("\n\tThe cube of %d is too large for this demonstration: please input a number up to"
                " 1290.\n" % n)
    cube = n ** 3
    text = ""
    for first in range(1, cube, 2):
        terms = terms_from(first, cube)
        if terms is None:
            continue
        assert sum(terms) == cube
        text += "\n\t%d=%s\n" % (cube, "+".join(map(str, terms)))
        if cube > 125000:
            return text + MANY
    return text


def turns(*numbers):
    return "".join(ASK + turn(n) for n in numbers)


# 88 leaves at once: then the pause, a key, the menu and Exit.
QUICK_EXIT = ASK + BACK_AND_EXIT

CASES = [
    Case("worked_examples_up_to_the_threshold", "3\n1\n2\n3\n4\n5\n6\n50\n88\n\n8\n",
         ENTER + turns(1, 2, 3, 4, 5, 6, 50) + QUICK_EXIT),
    Case("above_the_threshold_one_equation_and_the_many_solutions_line", "3\n51\n53\n88\n\n8\n",
         ENTER + turns(51, 53) + QUICK_EXIT),
    Case("88_returns_at_once", "3\n88\n\n8\n", ENTER + QUICK_EXIT),
    Case("888_has_its_turn_and_ends_the_visit", "3\n888\n\n8\n",
         ENTER + turns(888) + BACK_AND_EXIT),
    Case("each_invalid_entry_gets_the_message_and_12abc_is_12",
         "3\nabc\n0\n-3\n2147483648\n12abc\n88\n\n8\n",
         ENTER + ASK + INVALID * 4 + turn(12) + QUICK_EXIT),
    Case("the_largest_cube_in_an_int_and_the_first_beyond", "3\n1290\n1291\n2147483647\n88\n\n8\n",
         ENTER + turns(1290, 1291, 2147483647) + QUICK_EXIT),
    Case("input_ending_at_the_prompt", "3\n", ENTER + ASK + "\n"),
    Case("input_ending_after_an_invalid_entry", "3\nabc\n", ENTER + ASK + INVALID + "\n"),
    Case("input_ending_after_a_turn", "3\n2\n", ENTER + turns(2) + ASK + "\n"),
]
