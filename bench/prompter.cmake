# One step of the prompter's scroll engine.
cw_add_bench(prompter_bench SOURCES prompter_bench.cpp LIBS cw_prompter)
