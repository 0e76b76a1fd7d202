c[i] = skip;
