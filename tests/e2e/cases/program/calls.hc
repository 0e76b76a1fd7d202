reset ();
send (1, x + 2);
P (a[i]);
