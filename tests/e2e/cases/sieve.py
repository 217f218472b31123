"""The sieve of Eratosthenes: heading, the two invalid messages chosen by
value, the yes/no answer as one character, the listing layout, 888, and input
that ends at either prompt. Primes are worked out here by trial division."""
import bisect

from pieces import BACK_AND_EXIT, Case, NOTICE, START

HEADING = "\n\t----------------Sieve of Eratosthenes--------------------\n\n"
ASK = NOTICE + "\n\tStart from 1, please input the end number:"
POSITIVE = "\n\tInvalid. Please input a positive integer:"
LESS_THAN = "\n\tInvalid. Please input an integer less than 1000000:\n"
ENTER = START + HEADING


def trial_division(end):
    found = []
    for k in range(2, end + 1):
        for p in found:
            if p * p > k:
                found.append(k)
                break
            if k % p == 0:
                break
        else:
            found.append(k)
    return found


PRIMES = trial_division(1000000)


def primes_up_to(end):
    return PRIMES[:bisect.bisect_right(PRIMES, end)]


def summary(end):
    return ("\n\tThere are %d prime number between 1 and %d.\n" % (len(primes_up_to(end)), end)
            + "\n\tPrint all these prime number(Y/N):")


def listing(end):
    return "".join("%d\t" % p + ("\n" if i % 10 == 0 else "")
                   for i, p in enumerate(primes_up_to(end), 1))


def yes(end):
    return ASK + summary(end) + listing(end)


def no(end):
    return ASK + summary(end) + "\n"


# The stated counts.
assert [len(primes_up_to(e)) for e in (1, 2, 4, 10, 49, 100, 888, 1000, 1000000)] == \
    [0, 1, 2, 4, 15, 25, 154, 168, 78498]
TEN = "2\t3\t5\t7\t11\t13\t17\t19\t23\t29\t\n"
assert listing(30) == TEN and listing(31) == TEN + "31\t"

CASES = [
    Case("counts_and_888_ending_the_visit_after_its_question",
         "5\n1\nn\n2\nn\n4\nn\n10\nn\n49\nn\n100\nn\n1000\nn\n888\nn\n\n8\n",
         ENTER + no(1) + no(2) + no(4) + no(10) + no(49) + no(100) + no(1000) + no(888)
         + BACK_AND_EXIT),
    Case("yes_is_y_or_Y_or_a_bare_enter", "5\n30\ny\n31\nY\n100\n\n888\ny\n\n8\n",
         ENTER + yes(30) + yes(31) + yes(100) + yes(888) + BACK_AND_EXIT),
    Case("every_other_answer_is_no", "5\n10\nn\n10\nN\n10\n \n10\nx\n10\n1\n888\nn\n\n8\n",
         ENTER + no(10) * 5 + no(888) + BACK_AND_EXIT),
    Case("a_million_listed", "5\n1000000\ny\n888\nn\n\n8\n",
         ENTER + yes(1000000) + no(888) + BACK_AND_EXIT),
    Case("one_lists_nothing", "5\n1\ny\n888\nn\n\n8\n", ENTER + yes(1) + no(888) + BACK_AND_EXIT),
    # Only the y is the answer; the letters e and s fail the next read and
    # are dropped without a message.
    Case("yes_typed_in_full", "5\n30\nyes\n31\nyes\n888\nn\n\n8\n",
         ENTER + yes(30) + yes(31) + no(888) + BACK_AND_EXIT),
    Case("an_answer_starting_with_a_blank_means_no", "5\n30\n yes\n888\nn\n\n8\n",
         ENTER + no(30) + no(888) + BACK_AND_EXIT),
    # The message follows the value held: 0 before the first number, then
    # each rejected value until another replaces it.
    Case("invalid_messages_chosen_by_value",
         "5\nabc\n0\n-5\n2147483648\n1000001\nabc\n-2147483648\n1000000\nn\n888\nn\n\n8\n",
         ENTER + ASK + POSITIVE * 4 + LESS_THAN * 2 + POSITIVE + summary(1000000) + "\n"
         + no(888) + BACK_AND_EXIT),
    Case("a_fresh_line_of_letters_after_an_accepted_number", "5\n10\nn\nabc\n888\nn\n\n8\n",
         ENTER + no(10) + ASK + POSITIVE + summary(888) + "\n" + BACK_AND_EXIT),
    Case("a_larger_turn_leaves_nothing_behind", "5\n1000\nn\n30\ny\n888\nn\n\n8\n",
         ENTER + no(1000) + yes(30) + no(888) + BACK_AND_EXIT),
    Case("input_ending_at_the_number_prompt", "5\n", ENTER + ASK + "\n"),
    Case("input_ending_after_an_invalid_entry", "5\n1000001\n", ENTER + ASK + LESS_THAN),
    Case("input_ending_at_the_question_means_no", "5\n30\n", ENTER + no(30)),
    Case("input_ending_after_a_listing", "5\n31\ny\n", ENTER + yes(31) + ASK + "\n"),
]
