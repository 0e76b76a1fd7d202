x = "ab""cd"[1];
skip;
