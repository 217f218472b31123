"""The two puzzles: riddle, the wait for a key, and the one solution."""
from pieces import Case, FAREWELL, MENU, PAUSE, PROMPT, START

BRIDE_RIDDLE = (
    "\n\tThere are 3 brides (A, B, C) and 3 grooms (X, Y, Z).\n"
    "\n\tA: I will marry X.\n"
    "\n\tX: My fiance is C.\n"
    "\n\tC: I will marry Z.\n"
    "\n\tIt is known that they are all kidding.\n"
    "\n\tThen, do you know who and who are a couple?\n"
)
TRUTH_RIDDLE = (
    "\n\tBen says that Bob is lying.\n"
    "\n\tBob says that Bill is lying.\n"
    "\n\tBill says that they are all lying.\n"
    "\n\tThen, do you know who is lying?\n"
)
WAIT = "\n\tPress any key to show the answer.\n"
BRIDE_ANSWER = (
    "\n\tThe groom X's bride is B.\n"
    "\tThe groom Y's bride is C.\n"
    "\tThe groom Z's bride is A.\n"
    "\n"
)
TRUTH_ANSWER = "\n\tBen is lying.\n\n\tBob is true.\n\n\tBill is lying.\n"

BRIDE = BRIDE_RIDDLE + WAIT + BRIDE_ANSWER
TRUTH = TRUTH_RIDDLE + WAIT + TRUTH_ANSWER

CASES = [
    Case("bride_groom_enter_shows_the_answer", "6\n\n\n8\n", START + BRIDE + PAUSE + MENU + PROMPT + FAREWELL),
    Case("truth_lies_enter_shows_the_answer", "7\n\n\n8\n", START + TRUTH + PAUSE + MENU + PROMPT + FAREWELL),
    # The rest of the key's line is dropped by the pause, not taken as a choice.
    Case("characters_after_the_key_do_not_reach_the_menu", "6\nabc3\n\n8\n",
         START + BRIDE + PAUSE + MENU + PROMPT + FAREWELL),
    # The rest of the menu line is dropped before the wait begins.
    Case("pending_characters_do_not_end_the_wait", "7 xyz\nk\n\n8\n",
         START + TRUTH + PAUSE + MENU + PROMPT + FAREWELL),
    Case("chosen_twice_answers_twice", "6\n\n\n6\n\n\n8\n",
         START + (BRIDE + PAUSE + MENU + PROMPT) * 2 + FAREWELL),
    Case("end_of_input_shows_the_answer_at_once", "7\n", START + TRUTH),
    Case("end_of_input_at_the_pause", "6\n\n", START + BRIDE + PAUSE),
    # The pause's key line 23: 2 ends the pause, 3 chooses... here 6 and 8.
    Case("pause_line_68_runs_the_puzzle_then_exit", "6\n\n68\n",
         START + BRIDE + "\n\tPRESS ANY KEY TO RETURN TO THE MENU.\n\n" + MENU + PROMPT + FAREWELL),
]
