int other_types;
