"""The menu loop: choices, bad input of every kind, the pause, Exit, and
input that ends early."""
from pieces import Case, EXIT, FAREWELL, MENU, OUT_OF_RANGE, PAUSE, PROMPT, RETRY, START

CASES = [
    Case("exit_first_thing", "8\n", EXIT),
    Case("exit_with_sign_or_zero", "+8\n", EXIT),
    Case("exit_with_leading_zero_and_blanks", "   08   \n", EXIT),
    Case("arguments_of_the_line_after_the_number_are_dropped", "8 1 2 3\n", EXIT),
    Case("out_of_range_numbers_pause_and_show_the_menu_again",
         "0\n\n9\n\n123\n\n-1\n\n8\n",
         START + (OUT_OF_RANGE + PAUSE + MENU + PROMPT) * 4 + FAREWELL),
    Case("words_give_one_retry_per_line", "abc def ghi\n8\n", START + RETRY + FAREWELL),
    Case("signs_alone_and_symbols_are_retried", "+\n-\n- 3\n.5\n8\n", START + RETRY * 4 + FAREWELL),
    Case("one_past_the_int_range_is_retried", "2147483648\n-2147483649\n8\n",
         START + RETRY * 2 + FAREWELL),
    Case("the_int_limits_are_out_of_range_choices", "2147483647\n\n-2147483648\n\n8\n",
         START + (OUT_OF_RANGE + PAUSE + MENU + PROMPT) * 2 + FAREWELL),
    Case("empty_lines_keep_the_read_waiting", "\n\n   \n\t\n8\n", EXIT),
    Case("bytes_that_are_not_text", b"\xff\xfe\x00\x01\n\x80abc\n8\n", START + RETRY * 2 + FAREWELL),
    # A line longer than 4096 bytes arrives in pieces, each read on its own.
    Case("a_very_long_line_gives_a_retry_per_4096_byte_piece", "x" * 100000 + "\n8\n",
         START + RETRY * (100000 // 4096 + 1) + FAREWELL),
    # Extraction takes every digit, across the pieces of an overlong line.
    Case("a_very_long_number_gives_one_retry", "9" * 5000 + "\n8\n", START + RETRY + FAREWELL),
    Case("pause_takes_one_character_and_the_rest_is_the_next_choice", "0\n19\n",
         START + OUT_OF_RANGE + PAUSE + MENU + PROMPT + OUT_OF_RANGE + PAUSE),
    Case("pause_leftover_chooses_exit", "0\n18\n", START + OUT_OF_RANGE + PAUSE + MENU + PROMPT + FAREWELL),
    Case("no_input_at_all", "", START + "\n"),
    Case("input_ending_without_a_line_end", "abc", START + RETRY + "\n"),
    Case("exit_without_a_line_end", "8", EXIT),
    Case("input_ending_at_the_pause", "0\n", START + OUT_OF_RANGE + PAUSE),
]
