pabuko_bench(core_bench SOURCES FrameStepBench.cpp LIBS pabuko_engine)
